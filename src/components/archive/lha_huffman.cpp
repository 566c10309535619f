#include "archive/lha_huffman.h"

#include <algorithm>

namespace floppex::archive {

bool LhaHuffman::Build(std::span<const uint8_t> lengths) {
    single_ = -1;
    counts_.fill(0);
    for (uint8_t length : lengths) {
        if (length > kMaxLength) return false;
        ++counts_[length];
    }
    counts_[0] = 0;
    uint32_t room = 1;  // codes still free at the current length
    for (int length = 1; length <= kMaxLength; ++length) {
        room <<= 1;
        if (counts_[length] > room) return false;
        room -= counts_[length];
    }

    std::array<uint32_t, kMaxLength + 2> offset{};
    for (int length = 1; length <= kMaxLength; ++length) offset[length + 1] = offset[length] + counts_[length];
    sorted_.assign(offset[kMaxLength + 1], 0);
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        if (lengths[symbol] != 0) sorted_[offset[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
    }

    std::fill(fast_.begin(), fast_.end(), 0u);
    uint32_t code = 0;
    size_t index = 0;
    for (int length = 1; length <= kMaxLength; ++length) {
        for (unsigned n = 0; n < counts_[length]; ++n, ++code, ++index) {
            if (length > fastBits_) continue;
            uint32_t first = code << (fastBits_ - length);
            uint32_t span = 1u << (fastBits_ - length);
            uint32_t entry = (static_cast<uint32_t>(sorted_[index]) << 8) | static_cast<uint32_t>(length);
            std::fill_n(fast_.begin() + first, span, entry);
        }
        code <<= 1;
    }
    return true;
}

void LhaHuffman::BuildSingle(uint16_t symbol) { single_ = symbol; }

int LhaHuffman::DecodeLong(LhaBitReader& bits, uint32_t window) const {
    uint32_t code = 0;
    uint32_t first = 0;
    uint32_t index = 0;
    for (int length = 1; length <= kMaxLength; ++length) {
        code |= (window >> (kMaxLength - length)) & 1u;
        uint32_t count = counts_[length];
        if (code - first < count) {
            bits.Skip(length);
            return sorted_[index + code - first];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

}  // namespace floppex::archive
