#include "archive/d64_writer.h"

#include <algorithm>
#include <array>
#include <optional>

namespace floppex::archive {

namespace {

constexpr int kTracks = 35, kDirTrack = 18;
constexpr size_t kSectorSize = 256, kPayload = 254, kImageSize = 174848;
constexpr size_t kEntriesPerSector = 8, kEntrySize = 32, kPointersPerSide = 120, kMaxSideSectors = 6;
constexpr uint8_t kPad = 0xA0;
constexpr int kDataInterleave = 10;
// Directory sectors in the order a 1541 uses them (interleave 3).
constexpr std::array<uint8_t, 18> kDirSectors = {1, 4, 7, 10, 13, 16, 2, 5, 8, 11, 14, 17, 3, 6, 9, 12, 15, 18};

int SectorsIn(int track) {
    if (track <= 17) return 21;
    if (track <= 24) return 19;
    if (track <= 30) return 18;
    return 17;
}

size_t Offset(int track, int sector) {
    size_t blocks = 0;
    for (int t = 1; t < track; ++t) blocks += static_cast<size_t>(SectorsIn(t));
    return (blocks + static_cast<size_t>(sector)) * kSectorSize;
}

struct Block {
    uint8_t track = 0, sector = 0;
};

class Disk {
public:
    Disk() : image_(kImageSize, 0) {
        for (int t = 1; t <= kTracks; ++t) used_[t].assign(static_cast<size_t>(SectorsIn(t)), false);
    }

    uint8_t* Sector(Block b) { return &image_[Offset(b.track, b.sector)]; }

    void Take(Block b) { used_[b.track][b.sector] = true; }

    int FreeDataBlocks() const {
        int n = 0;
        for (int t = 1; t <= kTracks; ++t) {
            if (t != kDirTrack) n += static_cast<int>(std::count(used_[t].begin(), used_[t].end(), false));
        }
        return n;
    }

    // The next data block: tracks outward from the directory (17 down to 1, then 19 up to 35),
    // sectors ten apart within a track.
    std::optional<Block> Allocate() {
        for (; trackIndex_ < kTracks - 1; ++trackIndex_, nextSector_ = 0) {
            const int track = trackIndex_ < 17 ? 17 - trackIndex_ : 2 + trackIndex_;
            const int n = SectorsIn(track);
            for (int i = 0; i < n; ++i) {
                const int s = (nextSector_ + i) % n;
                if (!used_[track][s]) {
                    used_[track][s] = true;
                    nextSector_ = (s + kDataInterleave) % n;
                    return Block{static_cast<uint8_t>(track), static_cast<uint8_t>(s)};
                }
            }
        }
        return std::nullopt;
    }

    void WriteBam(std::span<const uint8_t> name, std::span<const uint8_t> id) {
        uint8_t* bam = Sector({kDirTrack, 0});
        bam[0] = kDirTrack;
        bam[1] = kDirSectors[0];
        bam[2] = 0x41;  // DOS version 'A'
        for (int t = 1; t <= kTracks; ++t) {
            uint8_t* entry = bam + 4 * t;
            for (int s = 0; s < SectorsIn(t); ++s) {
                if (used_[t][s]) continue;
                ++entry[0];
                entry[1 + s / 8] |= static_cast<uint8_t>(1 << (s % 8));
            }
        }
        std::fill(bam + 0x90, bam + 0xAB, kPad);
        std::copy_n(name.begin(), std::min<size_t>(name.size(), 16), bam + 0x90);
        std::copy_n(id.begin(), std::min<size_t>(id.size(), 2), bam + 0xA2);
        bam[0xA5] = '2';
        bam[0xA6] = 'A';
    }

    std::vector<uint8_t> Release() { return std::move(image_); }

private:
    std::vector<uint8_t> image_;
    std::array<std::vector<bool>, kTracks + 1> used_;
    int trackIndex_ = 0, nextSector_ = 0;
};

size_t BlocksFor(size_t bytes) { return std::max<size_t>(1, (bytes + kPayload - 1) / kPayload); }

size_t SideSectorsFor(size_t dataBlocks) { return (dataBlocks + kPointersPerSide - 1) / kPointersPerSide; }

// Writes the data as a chain of the given blocks.
void WriteChain(Disk& disk, const std::vector<Block>& chain, std::span<const uint8_t> data) {
    for (size_t i = 0; i < chain.size(); ++i) {
        uint8_t* sector = disk.Sector(chain[i]);
        const size_t from = i * kPayload;
        const size_t n = std::min(kPayload, data.size() - std::min(from, data.size()));
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(std::min(from, data.size())), n, sector + 2);
        if (i + 1 < chain.size()) {
            sector[0] = chain[i + 1].track;
            sector[1] = chain[i + 1].sector;
        } else {
            sector[0] = 0;
            sector[1] = static_cast<uint8_t>(n + 1);  // index of the last byte used
        }
    }
}

// Side sectors of a relative file: each lists up to 120 data blocks and all side sectors.
void WriteSideSectors(Disk& disk, const std::vector<Block>& sides, const std::vector<Block>& data, uint8_t recordLength) {
    for (size_t i = 0; i < sides.size(); ++i) {
        uint8_t* sector = disk.Sector(sides[i]);
        const size_t first = i * kPointersPerSide;
        const size_t count = std::min(kPointersPerSide, data.size() - first);
        if (i + 1 < sides.size()) {
            sector[0] = sides[i + 1].track;
            sector[1] = sides[i + 1].sector;
        } else {
            sector[0] = 0;
            sector[1] = static_cast<uint8_t>(15 + 2 * count);
        }
        sector[2] = static_cast<uint8_t>(i);
        sector[3] = recordLength;
        for (size_t k = 0; k < sides.size(); ++k) {
            sector[4 + 2 * k] = sides[k].track;
            sector[5 + 2 * k] = sides[k].sector;
        }
        for (size_t k = 0; k < count; ++k) {
            sector[16 + 2 * k] = data[first + k].track;
            sector[17 + 2 * k] = data[first + k].sector;
        }
    }
}

std::vector<Block> AllocateBlocks(Disk& disk, size_t n) {
    std::vector<Block> blocks;
    for (size_t i = 0; i < n; ++i) blocks.push_back(*disk.Allocate());  // capacity was checked first
    return blocks;
}

void WriteEntry(uint8_t* entry, const CbmFile& file, Block first, Block side, size_t blocks) {
    entry[2] = file.type;
    entry[3] = first.track;
    entry[4] = first.sector;
    std::fill(entry + 5, entry + 21, kPad);
    std::copy_n(file.name.begin(), std::min<size_t>(file.name.size(), 16), entry + 5);
    if (file.type == kRel) {
        entry[21] = side.track;
        entry[22] = side.sector;
        entry[23] = file.recordLength;
    }
    entry[30] = static_cast<uint8_t>(blocks & 0xFF);
    entry[31] = static_cast<uint8_t>(blocks >> 8);
}

}  // namespace

D64WriteResult WriteD64(std::span<const CbmFile> files, std::span<const uint8_t> diskName,
                        std::span<const uint8_t> diskId) {
    D64WriteResult result;
    if (files.size() > kDirSectors.size() * kEntriesPerSector) {
        result.error = D64WriteError::TooManyFiles;
        return result;
    }
    Disk disk;
    disk.Take({kDirTrack, 0});
    const size_t dirCount = std::max<size_t>(1, (files.size() + kEntriesPerSector - 1) / kEntriesPerSector);
    for (size_t i = 0; i < dirCount; ++i) {
        const Block b{kDirTrack, kDirSectors[i]};
        disk.Take(b);
        uint8_t* sector = disk.Sector(b);
        sector[0] = i + 1 < dirCount ? kDirTrack : 0;
        sector[1] = i + 1 < dirCount ? kDirSectors[i + 1] : 0xFF;
    }
    size_t needed = 0;
    for (const CbmFile& f : files) {
        const size_t blocks = BlocksFor(f.data.size());
        const size_t sides = f.type == kRel ? SideSectorsFor(blocks) : 0;
        if (sides > kMaxSideSectors) {
            result.error = D64WriteError::DiskFull;
            return result;
        }
        needed += blocks + sides;
    }
    if (needed > static_cast<size_t>(disk.FreeDataBlocks())) {
        result.error = D64WriteError::DiskFull;
        return result;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const CbmFile& f = files[i];
        const auto chain = AllocateBlocks(disk, BlocksFor(f.data.size()));
        WriteChain(disk, chain, f.data);
        std::vector<Block> sides;
        if (f.type == kRel) {
            sides = AllocateBlocks(disk, SideSectorsFor(chain.size()));
            WriteSideSectors(disk, sides, chain, f.recordLength);
        }
        uint8_t* dir = disk.Sector({kDirTrack, kDirSectors[i / kEntriesPerSector]});
        WriteEntry(dir + (i % kEntriesPerSector) * kEntrySize, f, chain.front(), sides.empty() ? Block{} : sides.front(),
                   chain.size() + sides.size());
    }
    disk.WriteBam(diskName, diskId);
    result.image = disk.Release();
    return result;
}

}  // namespace floppex::archive
