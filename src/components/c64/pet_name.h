#pragma once
// A C64 file or disk name as stored: raw PETSCII bytes, shown through petscii.h.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace floppex {

struct PetName {
    std::vector<uint8_t> bytes;  // without the $A0 padding

    std::string Ascii() const;    // as c1541 -list prints it (what emulators are given)
    std::string Unicode() const;  // UTF-8 with the C64's own glyphs, for display
};

}  // namespace floppex
