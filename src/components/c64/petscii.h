#pragma once
// The one place where PETSCII becomes text.
#include <cstdint>
#include <span>
#include <string>

namespace floppex::petscii {

// Plain ASCII, byte for byte what c1541's directory listing prints for these bytes.
std::string ToAscii(std::span<const uint8_t> bytes);

// UTF-8 for display in the upper-case/graphics character set: letters, the C64's graphics and
// reverse characters as real Unicode characters (Symbols for Legacy Computing included).
std::string ToUnicode(std::span<const uint8_t> bytes);

// Strips the $A0 padding that ends names in directories and headers.
std::span<const uint8_t> TrimPadding(std::span<const uint8_t> bytes);

}  // namespace floppex::petscii
