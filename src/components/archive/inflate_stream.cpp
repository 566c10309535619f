#include "archive/inflate_stream.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace floppex::archive {

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr size_t kMaxRatio = 1032;  // deflate's best: a 258-byte match in under two bits

// Room worth making at once: what the container states, if that much could come out of the input.
size_t Planned(size_t expected, size_t inSize, size_t maxOut) {
    const size_t possible = inSize > maxOut / kMaxRatio ? maxOut : inSize * kMaxRatio;
    return std::min({expected, possible, maxOut});
}

class RawInflater {
public:
    RawInflater() { ready_ = inflateInit2(&z_, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (ready_) inflateEnd(&z_);
    }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return z_; }

private:
    z_stream z_{};
    bool ready_ = false;
};

}  // namespace

InflateOutcome InflateRaw(std::span<const uint8_t> in, size_t maxOut, std::vector<uint8_t>& out, size_t expected) {
    InflateOutcome outcome;
    RawInflater inflater;
    if (!inflater.ready()) return outcome;
    z_stream& z = inflater.stream();
    const size_t start = out.size();
    // The stated size plus the byte that tells the stream's end from more to come.
    out.reserve(start + Planned(expected, in.size(), maxOut) + 1);
    size_t fed = 0;
    for (;;) {
        if (z.avail_in == 0 && fed < in.size()) {
            const size_t n = std::min<size_t>(in.size() - fed, UINT_MAX);
            z.next_in = const_cast<Bytef*>(in.data() + fed);
            z.avail_in = static_cast<uInt>(n);
            fed += n;
        }
        const size_t produced = out.size() - start;
        // One byte of room beyond the cap tells a stream that ends exactly at it from a longer one.
        const size_t room = std::min({std::max(kChunk, out.capacity() - out.size()), maxOut - produced + 1,
                                      size_t{UINT_MAX}});
        const size_t before = out.size();
        out.resize(before + room);
        z.next_out = out.data() + before;
        z.avail_out = static_cast<uInt>(room);
        const int rc = inflate(&z, Z_NO_FLUSH);
        out.resize(before + (room - z.avail_out));
        if (out.size() - start > maxOut) {
            outcome.status = InflateStatus::TooLarge;
            return outcome;
        }
        if (rc == Z_STREAM_END) {
            outcome.status = InflateStatus::Ok;
            outcome.consumed = fed - z.avail_in;
            return outcome;
        }
        const bool refill = rc == Z_BUF_ERROR && z.avail_in == 0 && fed < in.size();
        if (rc != Z_OK && !refill) return outcome;  // bad data, or the input ended inside the stream
    }
}

}  // namespace floppex::archive
