#pragma once
// Lynx archives (.LNX) as the C64's Lynx and cbmconvert write them: an optional BASIC stub, a
// directory of CR-separated PETSCII lines, then each file padded to whole 254-byte blocks.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/archive_member.h"
#include "archive/cbm_file.h"

namespace floppex::archive {

struct LynxResult {
    std::vector<CbmFile> files;  // in directory order
    ReadError error = ReadError::None;

    bool ok() const { return error == ReadError::None; }
};

// True when the directory's first line names Lynx.
bool LooksLikeLynx(std::span<const uint8_t> bytes);

// NotThisFormat when the directory's first line does not name Lynx. The side-sector blocks Lynx keeps
// for relative files are skipped: a 1541 builds its own. Damaged and TooLarge give no files.
LynxResult ReadLynx(std::span<const uint8_t> bytes, const ExtractLimits& limits);

}  // namespace floppex::archive
