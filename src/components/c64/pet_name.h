#pragma once
// A C64 file or disk name as stored: raw PETSCII bytes, shown through petscii.h.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace floppex {

struct PetName {
    std::vector<uint8_t> bytes;  // the name proper: up to the first $A0, padding removed

    static PetName FromStored(std::span<const uint8_t> stored);  // cuts at the first $A0

    std::string Ascii() const;    // as c1541 -list prints it between the quotes (what emulators are given)
    std::string Unicode() const;  // UTF-8 with the C64's own glyphs, for display
};

}  // namespace floppex
