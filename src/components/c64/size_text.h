#pragma once
// Sizes and addresses of C64 programs as shown to the user.
#include <cstddef>
#include <cstdint>
#include <string>

namespace floppex {

// Kilobytes (1024 bytes) with one decimal and '.' as the separator, rounded half up:
// 1229 bytes give "1.2", 100 bytes "0.1", 2 bytes "0.0".
std::string KilobyteText(size_t bytes);

// A number in upper-case hex after a '$', at least `digits` wide: HexText(0x2000, 6) is "$002000".
std::string HexText(uint32_t value, int digits);

// A C64 address as four hex digits after a '$': "$0801".
inline std::string AddressText(uint16_t address) { return HexText(address, 4); }

}  // namespace floppex
