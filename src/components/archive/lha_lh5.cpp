// The static-Huffman family (-lh4- to -lh7-). Each block starts with its size in codes and three
// tables: a code-length code (19 symbols), the literal/length code (510 symbols) sent through it,
// and the distance code, whose symbol n stands for an n-bit distance.
#include <array>

#include "archive/lha_copy.h"
#include "archive/lha_decoders.h"
#include "archive/lha_huffman.h"

namespace floppex::archive {
namespace {

constexpr int kLiteralCodes = 510;  // 256 bytes and lengths 3..256
constexpr int kLengthCodes = 19;    // code lengths 0..16 and two run codes
constexpr int kLengthBits = 5;
constexpr int kLiteralBits = 9;
constexpr int kMinMatch = 3;

class Lh5Decoder {
public:
    Lh5Decoder(std::span<const uint8_t> packed, int dictionaryBits)
        : bits_(packed),
          distanceCodes_(dictionaryBits <= 13 ? 14 : dictionaryBits + 1),
          distanceBits_(dictionaryBits <= 13 ? 4 : 5) {}

    bool Run(std::vector<uint8_t>& out) {
        size_t pos = 0;
        while (pos < out.size()) {
            if (bits_.Overrun()) return false;
            uint32_t codes = bits_.Get(16);
            if (!ReadBitLengths(kLengthCodes, kLengthBits, 3, lengthCode_) || !ReadLiteralLengths() ||
                !ReadBitLengths(distanceCodes_, distanceBits_, -1, distanceCode_)) {
                return false;
            }
            for (; codes > 0 && pos < out.size(); --codes) {
                int symbol = literalCode_.Decode(bits_);
                if (symbol < 0 || symbol >= kLiteralCodes) return false;
                if (symbol < 256) {
                    out[pos++] = static_cast<uint8_t>(symbol);
                    continue;
                }
                int slot = distanceCode_.Decode(bits_);
                if (slot < 0 || slot >= distanceCodes_) return false;
                size_t distance = slot == 0 ? 1 : (size_t{1} << (slot - 1)) + bits_.Get(slot - 1) + 1;
                pos = LhaCopyMatch(out, pos, distance, static_cast<size_t>(symbol - 256 + kMinMatch));
            }
        }
        return !bits_.Overrun();
    }

private:
    // How many code lengths follow. Zero stands for a table of one symbol, sent next in as many
    // bits, which is built here.
    int ReadCount(int countBits, LhaHuffman& table) {
        const int count = static_cast<int>(bits_.Get(countBits));
        if (count == 0) table.BuildSingle(static_cast<uint16_t>(bits_.Get(countBits)));
        return count;
    }

    // Lengths sent as 3 bits, 7 meaning "7 plus one for each following 1 bit". After the
    // entry at index skipAfter a 2-bit count of zero lengths follows. A table of one symbol
    // takes no bits per code; the symbol is checked where it is used.
    bool ReadBitLengths(int symbols, int countBits, int skipAfter, LhaHuffman& table) {
        const int count = ReadCount(countBits, table);
        if (count == 0) return true;
        if (count > symbols) return false;
        std::array<uint8_t, kLengthCodes> lengths{};
        for (int i = 0; i < count;) {
            uint32_t length = bits_.Get(3);
            if (length == 7) {
                while (bits_.Get(1) == 1) {
                    if (++length > LhaHuffman::kMaxLength) return false;
                }
            }
            lengths[i++] = static_cast<uint8_t>(length);
            if (i == skipAfter) {
                for (uint32_t zeros = bits_.Get(2); zeros > 0 && i < count; --zeros) lengths[i++] = 0;
            }
        }
        return table.Build(std::span(lengths).first(symbols));
    }

    bool ReadLiteralLengths() {
        const int count = ReadCount(kLiteralBits, literalCode_);
        if (count == 0) return true;
        if (count > kLiteralCodes) return false;
        std::array<uint8_t, kLiteralCodes> lengths{};
        for (int i = 0; i < count;) {
            int symbol = lengthCode_.Decode(bits_);
            if (symbol < 0) return false;
            if (symbol > 2) {
                lengths[i++] = static_cast<uint8_t>(symbol - 2);
                continue;
            }
            uint32_t zeros = symbol == 0 ? 1 : symbol == 1 ? bits_.Get(4) + 3 : bits_.Get(kLiteralBits) + 20;
            for (; zeros > 0 && i < count; --zeros) lengths[i++] = 0;
        }
        return literalCode_.Build(lengths);
    }

    LhaBitReader bits_;
    int distanceCodes_;
    int distanceBits_;
    LhaHuffman lengthCode_{8};
    LhaHuffman literalCode_{12};
    LhaHuffman distanceCode_{8};
};

}  // namespace

bool DecodeLh5(std::span<const uint8_t> packed, int dictionaryBits, size_t size, std::vector<uint8_t>& out) {
    out.assign(size, 0);
    Lh5Decoder decoder(packed, dictionaryBits);
    return decoder.Run(out);
}

}  // namespace floppex::archive
