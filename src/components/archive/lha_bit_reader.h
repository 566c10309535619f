#pragma once
// Reads the bit stream of the LHA decoders, most significant bit first. Past the end of its bytes
// it reads zeros and remembers that it did, so a decoder never reads out of bounds and can tell
// afterwards whether it ran off its data.
#include <cstddef>
#include <cstdint>
#include <span>

namespace floppex::archive {

class LhaBitReader {
public:
    explicit LhaBitReader(std::span<const uint8_t> bytes)
        : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    // The next n bits (1..32) without taking them.
    uint32_t Peek(int n) {
        if (count_ < n) Refill();
        return static_cast<uint32_t>(buffer_ >> (64 - n));
    }

    // Takes n bits (0..32) that were peeked.
    void Skip(int n) {
        if (count_ < n) Refill();
        buffer_ <<= n;
        count_ -= n;
    }

    // Takes and returns n bits (0..32).
    uint32_t Get(int n) {
        if (n == 0) return 0;
        uint32_t value = Peek(n);
        Skip(n);
        return value;
    }

    // True once a bit beyond the end of the data was taken.
    bool Overrun() const { return padding_ * 8 > static_cast<size_t>(count_); }

private:
    void Refill() {
        if (end_ - next_ >= 8) {
            // Eight bytes at once; the bits that do not fit yet are taken again next time.
            uint64_t word = 0;
            for (int i = 0; i < 8; ++i) word = word << 8 | next_[i];
            buffer_ |= word >> count_;
            int bytes = (63 - count_) >> 3;
            next_ += bytes;
            count_ += bytes * 8;
            return;
        }
        while (count_ <= 56) {
            uint64_t byte = 0;
            if (next_ < end_) {
                byte = *next_++;
            } else {
                ++padding_;
            }
            buffer_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    const uint8_t* next_;
    const uint8_t* end_;
    uint64_t buffer_ = 0;  // unread bits, left-aligned
    int count_ = 0;        // number of unread bits in buffer_
    size_t padding_ = 0;   // zero bytes fed in past the end
};

}  // namespace floppex::archive
