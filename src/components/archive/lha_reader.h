#pragma once
// LHA/LZH archives as made by LHarc on the C64 and by the PC archivers: header levels 0, 1 and 2,
// methods -lh0-, -lh1-, -lh4- to -lh7-, -lz4-, -lz5-, -lzs-, -pm0-. A self-extractor in front of the
// first header is skipped. Every member is decoded in full and its CRC-16 checked.
#include <cstdint>
#include <span>

#include "archive/archive_member.h"

namespace floppex::archive {

// Folders (-lhd-) are skipped. A member whose method is not decoded here is passed over and the
// result carries UnsupportedMethod with its method string ("-lh2-") as detail, next to every member
// that was decoded. Damaged and TooLarge stop the read; the members decoded before are kept.
ReadResult ReadLha(std::span<const uint8_t> bytes, const ExtractLimits& limits);

}  // namespace floppex::archive
