// -lh1-, the method of LHarc 1.x: literals and match lengths in one adaptive Huffman tree that is
// updated after every symbol, distances as a fixed Huffman code for the top 6 bits followed by the
// low 6 bits as they are. 4 KiB window, matches of 3 to 60 bytes.
#include <array>
#include <cstring>

#include "archive/lha_copy.h"
#include "archive/lha_decoders.h"
#include "archive/lha_huffman.h"

namespace floppex::archive {
namespace {

constexpr int kSymbols = 314;                 // 256 bytes and lengths 3..60
constexpr int kNodes = 2 * kSymbols - 1;      // leaves and inner nodes
constexpr int kRoot = kNodes - 1;
constexpr uint16_t kRebuildAt = 0x8000;       // root frequency that halves all counts
constexpr int kMinMatch = 3;

// The tree keeps its nodes sorted by frequency; son[n] >= kNodes marks a leaf for symbol
// son[n] - kNodes, otherwise son[n] and son[n] + 1 are the children.
class AdaptiveTree {
public:
    AdaptiveTree() {
        for (int i = 0; i < kSymbols; ++i) {
            freq_[i] = 1;
            son_[i] = static_cast<uint16_t>(i + kNodes);
            parent_[i + kNodes] = static_cast<uint16_t>(i);
        }
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
            freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
            son_[j] = static_cast<uint16_t>(i);
            parent_[i] = parent_[i + 1] = static_cast<uint16_t>(j);
        }
        freq_[kNodes] = 0xFFFF;  // sentinel for the search in Update
        parent_[kRoot] = 0;
    }

    int Decode(LhaBitReader& bits) {
        unsigned node = son_[kRoot];
        while (node < kNodes) node = son_[node + bits.Get(1)];
        int symbol = static_cast<int>(node - kNodes);
        Update(symbol);
        return symbol;
    }

private:
    void Update(int symbol) {
        if (freq_[kRoot] == kRebuildAt) Rebuild();
        unsigned c = parent_[symbol + kNodes];
        do {
            uint16_t k = ++freq_[c];
            unsigned l = c + 1;
            if (k > freq_[l]) {
                while (k > freq_[++l]) {
                }
                --l;
                freq_[c] = freq_[l];
                freq_[l] = k;
                unsigned i = son_[c];
                parent_[i] = static_cast<uint16_t>(l);
                if (i < kNodes) parent_[i + 1] = static_cast<uint16_t>(l);
                unsigned j = son_[l];
                son_[l] = static_cast<uint16_t>(i);
                parent_[j] = static_cast<uint16_t>(c);
                if (j < kNodes) parent_[j + 1] = static_cast<uint16_t>(c);
                son_[c] = static_cast<uint16_t>(j);
                c = l;
            }
            c = parent_[c];
        } while (c != 0);
    }

    // Halves the leaf counts and builds the inner nodes anew.
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < kNodes; ++i) {
            if (son_[i] >= kNodes) {
                freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
                son_[j] = son_[i];
                ++j;
            }
        }
        for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
            uint16_t f = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
            int k = n - 1;
            while (f < freq_[k]) --k;
            ++k;
            size_t moved = static_cast<size_t>(n - k);
            std::memmove(&freq_[k + 1], &freq_[k], moved * sizeof(freq_[0]));
            freq_[k] = f;
            std::memmove(&son_[k + 1], &son_[k], moved * sizeof(son_[0]));
            son_[k] = static_cast<uint16_t>(i);
        }
        for (int i = 0; i < kNodes; ++i) {
            unsigned k = son_[i];
            parent_[k] = static_cast<uint16_t>(i);
            if (k < kNodes) parent_[k + 1] = static_cast<uint16_t>(i);
        }
    }

    std::array<uint16_t, kNodes + 1> freq_{};
    std::array<uint16_t, kNodes + kSymbols> parent_{};
    std::array<uint16_t, kNodes> son_{};
};

// Code lengths of the top 6 distance bits: 1 of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8.
LhaHuffman MakeDistanceCode() {
    std::array<uint8_t, 64> lengths{};
    const int counts[] = {1, 3, 8, 12, 24, 16};
    size_t symbol = 0;
    for (int n = 0; n < 6; ++n) {
        for (int i = 0; i < counts[n]; ++i) lengths[symbol++] = static_cast<uint8_t>(n + 3);
    }
    LhaHuffman code(8);
    code.Build(lengths);
    return code;
}

}  // namespace

bool DecodeLh1(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out) {
    static const LhaHuffman distanceCode = MakeDistanceCode();
    out.assign(size, 0);
    LhaBitReader bits(packed);
    AdaptiveTree tree;
    size_t pos = 0;
    while (pos < size) {
        if (bits.Overrun()) return false;
        int symbol = tree.Decode(bits);
        if (symbol < 256) {
            out[pos++] = static_cast<uint8_t>(symbol);
            continue;
        }
        size_t high = static_cast<size_t>(distanceCode.Decode(bits));
        size_t distance = (high << 6 | bits.Get(6)) + 1;
        pos = LhaCopyMatch(out, pos, distance, static_cast<size_t>(symbol - 256 + kMinMatch));
    }
    return !bits.Overrun();
}

}  // namespace floppex::archive
