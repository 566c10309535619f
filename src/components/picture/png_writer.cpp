#include "picture/png_writer.h"

#include <string_view>
#include <zlib.h>

namespace floppex::picture {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A chunk: length, type, data, and the CRC of type and data.
void Chunk(std::vector<uint8_t>& out, std::string_view type, std::span<const uint8_t> data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// The rows' deflate stream, cut into IDAT chunks as it comes.
class ImageData {
public:
    explicit ImageData(std::vector<uint8_t>& out) : out_(out) { deflateInit(&stream_, Z_BEST_COMPRESSION); }
    ~ImageData() { deflateEnd(&stream_); }
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;

    void Write(std::span<uint8_t> bytes, bool last) {
        stream_.next_in = bytes.data();
        stream_.avail_in = static_cast<uInt>(bytes.size());
        int status = Z_OK;
        do {
            stream_.next_out = buffer_.data();
            stream_.avail_out = static_cast<uInt>(buffer_.size());
            status = deflate(&stream_, last ? Z_FINISH : Z_NO_FLUSH);
            const size_t made = buffer_.size() - stream_.avail_out;
            if (made > 0) Chunk(out_, "IDAT", std::span(buffer_.data(), made));
        } while (stream_.avail_out == 0 || (last && status != Z_STREAM_END));
    }

private:
    std::vector<uint8_t>& out_;
    z_stream stream_{};
    std::array<uint8_t, 65536> buffer_{};
};

}  // namespace

std::vector<uint8_t> TwoColourPng(int width, int height, const std::array<Rgb, 2>& colours, const RowSource& row) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(width));
    Put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {1, 3, 0, 0, 0});  // one bit per pixel, indexed; deflate, no interlace
    Chunk(out, "IHDR", header);
    Chunk(out, "PLTE", std::vector<uint8_t>{colours[0].r, colours[0].g, colours[0].b,
                                            colours[1].r, colours[1].g, colours[1].b});
    {
        ImageData data(out);
        std::vector<uint8_t> pixels(static_cast<size_t>(width));
        std::vector<uint8_t> packed(1 + (static_cast<size_t>(width) + 7) / 8);  // filter byte 0, then the bits
        for (int y = 0; y < height; ++y) {
            row(y, pixels);
            std::fill(packed.begin(), packed.end(), uint8_t{0});
            for (size_t x = 0; x < pixels.size(); ++x) {
                if (pixels[x]) packed[1 + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
            data.Write(packed, y + 1 == height);
        }
    }
    Chunk(out, "IEND", {});
    return out;
}

}  // namespace floppex::picture
