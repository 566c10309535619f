#pragma once
// A listing as the C64's screen shows it after LOAD"$",8 and LIST: one row of 40 screen codes per
// line, a reverse character's code with its top bit set.
#include <array>
#include <cstdint>
#include <vector>

#include "listing/c64_listing.h"

namespace floppex::picture {

constexpr int kColumns = 40;
constexpr int kMaxRows = 200;
using ScreenRow = std::array<uint8_t, kColumns>;

// The rows of the listing, at most kMaxRows. A disk: the header in reverse, one row per entry and
// the blocks free, as the 1541 sends them; a tape or program file the same without blocks free;
// a cartridge its hardware, mode and one row per chip. Rows beyond kMaxRows give way to a last
// row that says how many entries were left out.
std::vector<ScreenRow> DirectoryScreen(const C64Listing& listing);

}  // namespace floppex::picture
