#pragma once
// G64 disk images: the bits on each track of a 1541 disk, read into sectors as the drive reads them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace floppex {

// The largest G64 worth reading: header, both tables and 168 half tracks (the most c1541 takes),
// each of the largest size the header can give.
inline constexpr size_t kMaxG64FileSize = 12 + 168 * 8 + 168 * (2 + 0xffff);

// The bytes begin with the G64 signature "GCR-1541".
bool IsG64(std::span<const uint8_t> bytes);

// The sectors of a G64 laid out as a .d64 with its error-byte block: tracks 1 to 35, or up to 42
// when the G64 holds them. A sector c1541 cannot read gets the error c1541 reports for it, as the
// .d64 error byte of that error; a track whose entry is unusable has only unreadable sectors.
// Tracks are decoded as they are first asked for, each once: a listing reads only a few of them.
class G64Sectors {
public:
    // Reads out.size() bytes at offset of the G64, all of them or false.
    using Reader = std::function<bool(uint64_t offset, std::span<uint8_t> out)>;

    // std::nullopt, with the reason, when the header or the track table is unusable.
    static std::optional<G64Sectors> Open(uint64_t size, Reader read, std::string& reason);
    // The same over bytes in memory, which must outlive the object.
    static std::optional<G64Sectors> Open(std::span<const uint8_t> g64, std::string& reason);

    // The sector image; only the tracks asked for so far hold their sectors and error bytes.
    std::span<const uint8_t> Image() const { return {image_.get(), imageSize_}; }
    int Tracks() const { return tracks_; }
    // Decodes the track (1 to Tracks()) into the image, unless done before.
    void ReadTrack(int track);

private:
    G64Sectors(uint64_t size, Reader read, std::vector<uint8_t> table);
    std::optional<std::span<const uint8_t>> TrackBytes(int track);

    uint64_t size_;
    Reader read_;
    std::vector<uint8_t> table_;  // the header and the track table
    int tracks_;
    // Zeroed by the system as it is first touched: a listing touches few of its pages.
    std::unique_ptr<uint8_t, void (*)(void*)> image_{nullptr, std::free};
    size_t imageSize_ = 0;
    std::vector<uint8_t> gcr_;
    std::vector<bool> done_;
};

// The whole sector image of a G64, every track decoded.
std::optional<std::vector<uint8_t>> G64SectorImage(std::span<const uint8_t> g64, std::string& reason);

}  // namespace floppex
