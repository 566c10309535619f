#pragma once
// A canonical Huffman code given by its code lengths, as the LHA block headers send them: shorter
// codes first, symbols of one length in ascending order, codes read most significant bit first.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "archive/lha_bit_reader.h"

namespace floppex::archive {

class LhaHuffman {
public:
    static constexpr int kMaxLength = 16;

    // fastBits: width of the direct look-up table (1..kMaxLength).
    explicit LhaHuffman(int fastBits) : fastBits_(fastBits), fast_(size_t{1} << fastBits) {}

    // lengths[s] is the code length of symbol s, 0 for an unused symbol. False when a length is
    // too long or the lengths describe more codes than fit.
    bool Build(std::span<const uint8_t> lengths);

    // Every read yields this symbol and takes no bits.
    void BuildSingle(uint16_t symbol);

    // The next symbol, or -1 when the bits form no code of this table.
    int Decode(LhaBitReader& bits) const {
        if (single_ >= 0) return single_;
        uint32_t window = bits.Peek(kMaxLength);
        uint32_t entry = fast_[window >> (kMaxLength - fastBits_)];
        if (entry & 0xFF) {
            bits.Skip(static_cast<int>(entry & 0xFF));
            return static_cast<int>(entry >> 8);
        }
        return DecodeLong(bits, window);
    }

private:
    int DecodeLong(LhaBitReader& bits, uint32_t window) const;

    int fastBits_;
    int single_ = -1;
    std::vector<uint32_t> fast_;  // symbol << 8 | length; length 0: longer code or none
    std::array<uint16_t, kMaxLength + 1> counts_{};
    std::vector<uint16_t> sorted_;  // symbols ordered by code
};

}  // namespace floppex::archive
