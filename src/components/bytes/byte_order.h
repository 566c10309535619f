#pragma once
// Multi-byte fields of C64 files and archives, and the bounds check that comes before reading
// them: every reader takes its fields from here.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace floppex {

// Whether n bytes start at offset at; safe against overflow for any at and n.
inline bool HasBytes(std::span<const uint8_t> b, size_t at, size_t n) { return at <= b.size() && n <= b.size() - at; }

inline uint16_t Le16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

inline uint32_t Le24(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | static_cast<uint32_t>(b[at + 2]) << 16;
}

inline uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le24(b, at) | static_cast<uint32_t>(b[at + 3]) << 24;
}

inline uint16_t Be16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

inline uint32_t Be32(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(Be16(b, at)) << 16 | Be16(b, at + 2);
}

// Eight bytes at p, the first the most significant, read in one load.
inline uint64_t Be64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
    return v;
}

}  // namespace floppex
