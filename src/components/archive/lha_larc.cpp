// The two LArc methods. Both copy matches from an absolute position in a ring buffer.
// -lz5-: a flag byte for eight commands, low bit first; 1 = a literal byte, 0 = two bytes holding a
// 12-bit position and a 4-bit length (3..18). -lzs-: one flag bit per command; 1 = 8-bit
// literal, 0 = 11-bit position and 4-bit length (2..17).
#include <array>

#include "archive/lha_bit_reader.h"
#include "archive/lha_decoders.h"

namespace floppex::archive {
namespace {

template <size_t Size>
class Ring {
public:
    explicit Ring(size_t start) : pos_(start) {}

    std::array<uint8_t, Size>& bytes() { return bytes_; }

    void Put(std::vector<uint8_t>& out, size_t& written, uint8_t b) {
        out[written++] = b;
        bytes_[pos_] = b;
        pos_ = (pos_ + 1) % Size;
    }

    void Copy(std::vector<uint8_t>& out, size_t& written, size_t from, size_t length) {
        for (size_t i = 0; i < length && written < out.size(); ++i) Put(out, written, bytes_[(from + i) % Size]);
    }

private:
    std::array<uint8_t, Size> bytes_{};
    size_t pos_;
};

// LArc's preset window: runs of 13 of every byte value, the values rising and falling, zeros,
// spaces, and zeros where writing starts.
void FillLz5Window(std::array<uint8_t, 4096>& w) {
    size_t at = 0;
    for (int value = 0; value < 256; ++value) {
        for (int n = 0; n < 13; ++n) w[at++] = static_cast<uint8_t>(value);
    }
    for (int value = 0; value < 256; ++value) w[at++] = static_cast<uint8_t>(value);
    for (int value = 255; value >= 0; --value) w[at++] = static_cast<uint8_t>(value);
    for (int n = 0; n < 128; ++n) w[at++] = 0;
    for (int n = 0; n < 110; ++n) w[at++] = ' ';
    while (at < w.size()) w[at++] = 0;
}

}  // namespace

bool DecodeLz5(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out) {
    out.assign(size, 0);
    Ring<4096> ring(4096 - 18);
    FillLz5Window(ring.bytes());
    size_t in = 0;
    size_t written = 0;
    while (written < size) {
        if (in >= packed.size()) return false;
        uint8_t flags = packed[in++];
        for (int bit = 0; bit < 8 && written < size; ++bit) {
            if (flags & (1u << bit)) {
                if (in >= packed.size()) return false;
                ring.Put(out, written, packed[in++]);
                continue;
            }
            if (packed.size() - in < 2) return false;
            size_t from = packed[in] | (packed[in + 1] & 0xF0u) << 4;
            size_t length = (packed[in + 1] & 0x0Fu) + 3;
            in += 2;
            ring.Copy(out, written, from, length);
        }
    }
    return true;
}

bool DecodeLzs(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out) {
    out.assign(size, 0);
    Ring<2048> ring(2048 - 17);
    ring.bytes().fill(' ');
    LhaBitReader bits(packed);
    size_t written = 0;
    while (written < size) {
        if (bits.Overrun()) return false;
        if (bits.Get(1)) {
            ring.Put(out, written, static_cast<uint8_t>(bits.Get(8)));
            continue;
        }
        size_t from = bits.Get(11);
        size_t length = bits.Get(4) + 2;
        ring.Copy(out, written, from, length);
    }
    return !bits.Overrun();
}

}  // namespace floppex::archive
