#include "archive/inflate_stream.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace floppex::archive {

namespace {

constexpr size_t kChunk = 64 * 1024;

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

InflateOutcome InflateRaw(std::span<const uint8_t> in, size_t maxOut, std::vector<uint8_t>& out) {
    InflateOutcome outcome;
    RawInflater inflater;
    if (!inflater.ready()) return outcome;
    z_stream& z = inflater.stream();
    const size_t start = out.size();
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
        const size_t room = std::min(kChunk, maxOut - produced + 1);
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
