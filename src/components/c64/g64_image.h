#pragma once
// G64 disk images: the bits on each track of a 1541 disk, read into sectors as the drive reads them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "c64/file_bytes.h"

namespace floppex {

// The largest G64 worth reading: header, both tables and 168 half tracks (the most c1541 takes),
// each of the largest size the header can give.
inline constexpr size_t kMaxG64FileSize = 12 + 168 * 8 + 168 * (2 + 0xffff);

// The most tracks of a G64 that are read, as with c1541.
inline constexpr int kMaxG64Tracks = 42;

// The bytes begin with the G64 signature "GCR-1541".
bool IsG64(std::span<const uint8_t> bytes);

// A G64's sectors as c1541 reads them: tracks 1 to 35, or up to 42 when the G64 holds them. A
// sector c1541 cannot read gets the error c1541 reports for it, as the .d64 error byte of that
// error; a track whose entry is unusable has only unreadable sectors. A track is read and its
// sync marks and headers found when one of its sectors is first asked for, and a sector's data
// block decoded when that sector is: a listing reads a few sectors of one or two tracks.
class G64Sectors {
public:
    // std::nullopt, with the reason, when the header or the track table is unusable.
    static std::optional<G64Sectors> Open(uint64_t size, ByteReader read, std::string& reason);
    // The same over bytes in memory, which must outlive the object.
    static std::optional<G64Sectors> Open(std::span<const uint8_t> g64, std::string& reason);

    int Tracks() const { return tracks_; }

    struct SectorRead {
        std::span<const uint8_t> bytes;  // 256, whatever the drive would have read
        uint8_t error = 0;               // the .d64 error byte: 1 when the sector reads well
    };
    // A sector of the disk (track 1 to Tracks(), sector below SectorsOn(track)).
    SectorRead Read(int track, int sector);

private:
    struct Track;
    G64Sectors(uint64_t size, ByteReader read, std::vector<uint8_t> table);
    Track& Scanned(int track);
    static bool SyncKnown(Track& t, size_t k);

    uint64_t size_;
    ByteReader read_;
    std::vector<uint8_t> table_;  // the header and the track table
    int tracks_;
    std::array<std::shared_ptr<Track>, kMaxG64Tracks + 1> scanned_;  // by track number, null until read
    std::span<const uint8_t> memory_;  // the whole image, when it lies in memory: tracks are read where they lie
};

// The sectors of a G64 laid out as a .d64 with its error-byte block, every track decoded.
std::optional<std::vector<uint8_t>> G64SectorImage(std::span<const uint8_t> g64, std::string& reason);

}  // namespace floppex
