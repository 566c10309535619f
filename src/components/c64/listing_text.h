#pragma once
// Listings as the outside tools print them: a disk image's directory as c1541 -list, a
// cartridge's packets as cartconv -f.
#include <string>

#include "c64/crt_file.h"
#include "c64/disk_image.h"

namespace floppex {

// The header line, one line per entry (or "Empty image"), then "N blocks free.", each ending
// in '\n': byte for byte what `c1541 IMAGE -list` writes for the same image.
std::string C1541Listing(const DiskImage& image);

// Header fields, a blank line, one line per CHIP packet, a blank line and the totals, each ending
// in '\n': what `cartconv -f CARTRIDGE` of VICE 3.7 writes for a whole cartridge, its lower-case hex
// included. Where the packets stop early a last line "Error: " and the reason follows.
std::string CartconvListing(const CrtFile& cartridge);

}  // namespace floppex
