#pragma once
// Writes a fresh 35-track 1541 disk image holding the given files: BAM, directory on track 18 and
// each file as a chain of sectors, as a 1541 would lay it out. Relative files get their side sectors.
#include <cstdint>
#include <span>
#include <vector>

#include "archive/cbm_file.h"

namespace floppex::archive {

enum class D64WriteError { None, TooManyFiles, DiskFull };

struct D64WriteResult {
    std::vector<uint8_t> image;  // 174848 bytes when ok
    D64WriteError error = D64WriteError::None;

    bool ok() const { return error == D64WriteError::None; }
};

// diskName: up to 16 PETSCII bytes; diskId: two. Names longer than 16 bytes are cut.
D64WriteResult WriteD64(std::span<const CbmFile> files, std::span<const uint8_t> diskName,
                        std::span<const uint8_t> diskId);

}  // namespace floppex::archive
