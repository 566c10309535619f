#pragma once
// One member header of an LHA/LZH archive, header levels 0 to 3.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace floppex::archive {

struct LhaHeader {
    std::string method;         // "-lh5-", "-lhd-", ...
    std::string name;           // folder and file name joined with '/', bytes as stored
    uint32_t packedSize = 0;    // bytes of packed data after the header
    uint32_t originalSize = 0;  // bytes once unpacked
    uint16_t crc = 0;           // CRC-16 of the unpacked bytes
    size_t headerSize = 0;      // bytes from the header's start to its packed data
    int level = 0;
    uint8_t os = 0;             // the archiver's system ('M' MS-DOS, 'U' Unix, 'm' Mac...), 0 unknown
};

// True when the bytes carry a method field ("-xxx-") where a header has one.
bool LooksLikeLhaHeader(std::span<const uint8_t> at);

// Reads the header at the start of the bytes. Every length is checked against the bytes there,
// the header checksum or header CRC is verified; on failure reason says what was wrong.
std::optional<LhaHeader> ParseLhaHeader(std::span<const uint8_t> at, std::string& reason);

}  // namespace floppex::archive
