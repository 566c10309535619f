#pragma once
// G64 disk images: the bits on each track of a 1541 disk, read into sectors as the drive reads them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace floppex {

// The largest G64 worth reading: header, both tables and 168 half tracks (the most c1541 takes),
// each of the largest size the header can give.
inline constexpr size_t kMaxG64FileSize = 12 + 168 * 8 + 168 * (2 + 0xffff);

// The bytes begin with the G64 signature "GCR-1541".
bool IsG64(std::span<const uint8_t> bytes);

// The sectors of a G64 laid out as a .d64 with its error-byte block: tracks 1 to 35, or up to 42
// when the G64 holds them. A sector c1541 cannot read gets the error c1541 reports for it, as the
// .d64 error byte of that error. std::nullopt, with the reason, when the header or the track
// table is unusable; a track whose entry is unusable has only unreadable sectors.
std::optional<std::vector<uint8_t>> G64SectorImage(std::span<const uint8_t> g64, std::string& reason);

}  // namespace floppex
