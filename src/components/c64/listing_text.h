#pragma once
// A disk image's directory as c1541 -list prints it.
#include <string>

#include "c64/disk_image.h"

namespace floppex {

// The header line, one line per entry (or "Empty image"), then "N blocks free.", each ending
// in '\n': byte for byte what `c1541 IMAGE -list` writes for the same image.
std::string C1541Listing(const DiskImage& image);

}  // namespace floppex
