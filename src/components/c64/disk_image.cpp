#include "c64/disk_image.h"

#include <algorithm>
#include <optional>

#include "c64/file_bytes.h"

namespace floppex {
namespace {

constexpr int kMinTracks = 35;
constexpr int kMaxTracks = 42;
constexpr int kDirTrack = 18;
constexpr size_t kSectorSize = 256;
constexpr size_t kBlocks35 = 683;  // sectors on 35 tracks; every further track has 17

int SectorsPerTrack(int track) {
    if (track <= 17) return 21;
    if (track <= 24) return 19;
    if (track <= 30) return 18;
    return 17;
}

// The sectors of one image. Every track/sector pair read from the image goes through Sector(),
// which refuses what lies outside the disk and what the error bytes mark as unreadable.
class SectorMap {
public:
    SectorMap(std::span<const uint8_t> image, int tracks, bool errorBytes)
        : image_(image), tracks_(tracks), blocks_(kBlocks35 + 17 * static_cast<size_t>(tracks - kMinTracks)),
          errorBytes_(errorBytes) {}

    size_t Blocks() const { return blocks_; }

    // Linear block number of a track and sector, when the disk has them.
    std::optional<size_t> BlockIndex(int track, int sector) const {
        if (track < 1 || track > tracks_ || sector < 0 || sector >= SectorsPerTrack(track)) return std::nullopt;
        size_t index = 0;
        for (int t = 1; t < track; ++t) index += static_cast<size_t>(SectorsPerTrack(t));
        return index + static_cast<size_t>(sector);
    }

    std::optional<std::span<const uint8_t>> Sector(int track, int sector) const {
        const auto index = BlockIndex(track, sector);
        if (!index || HardError(*index)) return std::nullopt;
        const size_t offset = *index * kSectorSize;
        if (offset + kSectorSize > image_.size()) return std::nullopt;
        return image_.subspan(offset, kSectorSize);
    }

private:
    // Error codes 0 and 1 mean a good sector; 5, 7 and 8 (data checksum, write protect, header
    // checksum) still let the drive read the data. Anything else makes the sector unreadable.
    bool HardError(size_t index) const {
        if (!errorBytes_) return false;
        const size_t at = blocks_ * kSectorSize + index;
        if (at >= image_.size()) return true;
        switch (image_[at]) {
            case 0: case 1: case 5: case 7: case 8: return false;
            default: return true;
        }
    }

    std::span<const uint8_t> image_;
    int tracks_;
    size_t blocks_;
    bool errorBytes_;
};

// Tracks and error-byte presence from the file size, as disk drives' image tools detect them.
bool ShapeFromSize(size_t size, int& tracks, bool& errorBytes) {
    for (int t = kMinTracks; t <= kMaxTracks; ++t) {
        const size_t blocks = kBlocks35 + 17 * static_cast<size_t>(t - kMinTracks);
        if (size == blocks * kSectorSize || size == blocks * (kSectorSize + 1)) {
            tracks = t;
            errorBytes = size != blocks * kSectorSize;
            return true;
        }
    }
    return false;
}

constexpr size_t kBamNameOffset = 0x90;
constexpr size_t kBamIdOffset = 0xa2;

constexpr size_t kSlotSize = 32;
constexpr size_t kSlotType = 2, kSlotTrack = 3, kSlotSector = 4, kSlotName = 5, kSlotBlocks = 30;

DiskDirEntry EntryFromSlot(std::span<const uint8_t> slot) {
    DiskDirEntry e;
    e.typeByte = slot[kSlotType];
    e.track = slot[kSlotTrack];
    e.sector = slot[kSlotSector];
    std::copy_n(slot.begin() + kSlotName, e.storedName.size(), e.storedName.begin());
    e.name = PetName::FromStored(e.storedName);
    e.blockCount = static_cast<uint16_t>(slot[kSlotBlocks] | (slot[kSlotBlocks + 1] << 8));
    return e;
}

}  // namespace

std::string DiskDirEntry::Blocks() const { return std::to_string(blockCount); }

std::string DiskDirEntry::FileType() const {
    static constexpr const char* kTypes[] = {"del", "seq", "prg", "usr", "rel", "cbm", "dir", "???"};
    std::string text;
    if (!(typeByte & 0x80)) text += '*';
    text += kTypes[typeByte & 0x07];
    if (typeByte & 0x40) text += '<';
    return text;
}

bool DiskImage::Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
}

bool DiskImage::Open(const std::filesystem::path& path) {
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    return bytes ? Load(*bytes) : Fail(reason);
}

bool DiskImage::Load(std::span<const uint8_t> bytes) {
    *this = DiskImage();
    if (bytes.empty()) return Fail("empty file");
    if (!ShapeFromSize(bytes.size(), tracks_, hasErrorBytes_))
        return Fail("not a D64 image: " + std::to_string(bytes.size()) + " bytes");
    const SectorMap sectors(bytes, tracks_, hasErrorBytes_);
    const auto bam = sectors.Sector(kDirTrack, 0);
    if (!bam) return Fail("the header block (track 18, sector 0) is unreadable");
    ReadBam(*bam);
    ReadDirectory(bytes);
    return true;
}

void DiskImage::ReadBam(std::span<const uint8_t> bam) {
    std::copy_n(bam.begin() + kBamNameOffset, storedName_.size(), storedName_.begin());
    std::copy_n(bam.begin() + kBamIdOffset, storedId_.size(), storedId_.begin());
    diskName_ = PetName::FromStored(storedName_);
    diskId_ = PetName{{storedId_.begin(), storedId_.end()}};

    // Like c1541, only the 35 standard tracks count, whatever the image holds beyond them.
    blocksFree_ = 0;
    for (int t = 1; t <= kMinTracks; ++t) {
        if (t != kDirTrack) blocksFree_ += bam[4 * static_cast<size_t>(t)];
    }
}

// Follows the directory chain from track 18, sector 1. A link that leaves the disk, points to an
// unreadable sector or comes back to a sector already read ends the listing there.
void DiskImage::ReadDirectory(std::span<const uint8_t> image) {
    const SectorMap sectors(image, tracks_, hasErrorBytes_);
    std::vector<bool> seen(sectors.Blocks(), false);
    int track = kDirTrack, sector = 1;
    while (true) {
        const auto index = sectors.BlockIndex(track, sector);
        const auto block = sectors.Sector(track, sector);
        if (!index || !block || seen[*index]) return;
        seen[*index] = true;
        for (size_t slot = 0; slot < kSectorSize; slot += kSlotSize) {
            const auto bytes = block->subspan(slot, kSlotSize);
            if (bytes[kSlotType] != 0) entries_.items.push_back(EntryFromSlot(bytes));
        }
        if ((*block)[0] == 0) return;
        track = (*block)[0];
        sector = (*block)[1];
    }
}

std::string DiskImage::HeaderText1() const { return diskName_.Unicode(); }

std::string DiskImage::HeaderText2() const { return diskId_.Unicode(); }

}  // namespace floppex
