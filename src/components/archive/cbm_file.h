#pragma once
// A file as a 1541 holds it: PETSCII name, type byte and content, load address included.
#include <cstdint>
#include <vector>

namespace floppex::archive {

enum CbmFileType : uint8_t { kDel = 0x80, kSeq = 0x81, kPrg = 0x82, kUsr = 0x83, kRel = 0x84 };

struct CbmFile {
    std::vector<uint8_t> name;  // up to 16 bytes, without the $A0 padding
    uint8_t type = kPrg;        // directory type byte, closed
    uint8_t recordLength = 0;   // relative files only
    std::vector<uint8_t> data;
};

}  // namespace floppex::archive
