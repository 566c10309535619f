#pragma once
// The match copy shared by the sliding-window decoders that write straight into their output.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace floppex::archive {

// Appends length bytes at pos copied from distance bytes back (the copy may overlap itself).
// The window starts filled with spaces, so bytes from before the output's start are spaces.
// The copy stops at the end of out; returns the new position.
inline size_t LhaCopyMatch(std::vector<uint8_t>& out, size_t pos, size_t distance, size_t length) {
    size_t end = pos + length < out.size() ? pos + length : out.size();
    uint8_t* data = out.data();
    if (distance <= pos) {
        for (size_t from = pos - distance; pos < end; ++pos, ++from) data[pos] = data[from];
        return pos;
    }
    for (; pos < end; ++pos) data[pos] = pos >= distance ? data[pos - distance] : uint8_t{' '};
    return pos;
}

}  // namespace floppex::archive
