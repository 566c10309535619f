#include "c64/disk_image.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"

namespace floppex {
namespace {

constexpr size_t kSectorSize = 256;
constexpr int kMostTracks = 80;

constexpr int Sectors1541(int track) {
    if (track <= 17) return 21;
    if (track <= 24) return 19;
    if (track <= 30) return 18;
    return 17;
}
constexpr int Sectors1571(int track) { return Sectors1541(track > 35 ? track - 35 : track); }  // side 2 repeats side 1
constexpr int Sectors1581(int) { return 40; }

// The blocks before each track, from track 1, for every track a drive's disks may have.
using FirstBlocks = std::array<size_t, kMostTracks + 2>;
template <int (*SectorsPerTrack)(int)>
constexpr FirstBlocks kFirstBlocks = [] {
    FirstBlocks first{};
    for (int t = 1; t <= kMostTracks; ++t) first[t + 1] = first[t] + static_cast<size_t>(SectorsPerTrack(t));
    return first;
}();

struct Block {
    int track, sector;
};

// The free counts of tracks first to last (but skip) in one BAM block: at offset, then every
// stride bytes.
struct FreeCounts {
    int first, last, skip;
    Block bam;
    size_t offset, stride;
};

// Where one drive keeps a disk's header, BAM and directory.
struct Layout {
    DiskFormat format;
    int minTracks, maxTracks;
    int (*sectorsPerTrack)(int track);
    const FirstBlocks& firstBlock;
    Block header;
    size_t nameOffset, idOffset;       // in the header block: 16 name bytes; id, blank and DOS type
    std::span<const Block> bamBlocks;  // c1541 lists nothing when one of them is unreadable
    std::span<const FreeCounts> free;  // what c1541 sums as blocks free
    Block directory;                   // the first directory block; the header's link is not followed
};

// Like c1541, a 1541 disk counts the 35 standard tracks only, whatever the image holds beyond them.
constexpr Block kBam1541[] = {{18, 0}};
constexpr FreeCounts kFree1541[] = {{1, 35, 18, {18, 0}, 4, 4}};
// The 1571 keeps the free counts of side 2 at the end of the first BAM block, its bitmaps on 53/0.
constexpr Block kBam1571[] = {{18, 0}, {53, 0}};
constexpr FreeCounts kFree1571[] = {{1, 35, 18, {18, 0}, 4, 4}, {36, 70, 53, {18, 0}, 0xdd, 1}};
constexpr Block kBam1581[] = {{40, 0}, {40, 1}, {40, 2}};
constexpr FreeCounts kFree1581[] = {{1, 40, 40, {40, 1}, 0x10, 6}, {41, 80, 0, {40, 2}, 0x10, 6}};

constexpr Layout k1541{DiskFormat::D64, 35, 42, Sectors1541, kFirstBlocks<Sectors1541>, {18, 0}, 0x90, 0xa2, kBam1541, kFree1541, {18, 1}};
constexpr Layout k1571{DiskFormat::D71, 70, 70, Sectors1571, kFirstBlocks<Sectors1571>, {18, 0}, 0x90, 0xa2, kBam1571, kFree1571, {18, 1}};
constexpr Layout k1581{DiskFormat::D81, 80, 80, Sectors1581, kFirstBlocks<Sectors1581>, {40, 0}, 0x04, 0x16, kBam1581, kFree1581, {40, 3}};
constexpr const Layout* kLayouts[] = {&k1541, &k1571, &k1581};

// A layout, its track count and whether the error-byte block follows the sectors.
struct Shape {
    const Layout* layout;
    int tracks;
    bool errorBytes;
};

size_t BlockCount(const Layout& layout, int tracks) { return layout.firstBlock[static_cast<size_t>(tracks) + 1]; }

// The shape from the size alone, as disk drives' image tools tell them apart.
std::optional<Shape> ShapeFromSize(uint64_t size) {
    for (const Layout* layout : kLayouts) {
        for (int t = layout->minTracks; t <= layout->maxTracks; ++t) {
            const size_t blocks = BlockCount(*layout, t);
            if (size == blocks * kSectorSize || size == blocks * (kSectorSize + 1))
                return Shape{layout, t, size != blocks * kSectorSize};
        }
    }
    return std::nullopt;
}

// Where a disk's tracks and sectors lie in the order of an image file.
class Geometry {
public:
    Geometry(const Layout& layout, int tracks) : layout_(layout), tracks_(tracks) {}

    size_t Blocks() const { return BlockCount(layout_, tracks_); }

    // Linear block number of a track and sector, when the disk has them.
    std::optional<size_t> BlockIndex(Block block) const {
        if (block.track < 1 || block.track > tracks_ || block.sector < 0 || block.sector >= layout_.sectorsPerTrack(block.track))
            return std::nullopt;
        return layout_.firstBlock[static_cast<size_t>(block.track)] + static_cast<size_t>(block.sector);
    }

private:
    const Layout& layout_;
    int tracks_;
};

// The sectors of a plain image in a file, read as the listing asks for them. Every track/sector
// pair goes through Sector(), which refuses what lies outside the disk and what the error bytes
// mark as unreadable.
class SectorMap : public Geometry {
public:
    SectorMap(const ByteReader& read, uint64_t body, const Shape& shape, bool useErrorBytes)
        : Geometry(*shape.layout, shape.tracks), read_(read), body_(body), errorBytes_(useErrorBytes && shape.errorBytes) {}

    std::optional<std::span<const uint8_t>> Sector(Block block) const {
        const auto index = BlockIndex(block);
        if (!index || HardError(*index)) return std::nullopt;
        auto [sector, added] = read_sectors_.try_emplace(*index);
        if (added && !read_(body_ + *index * kSectorSize, sector->second)) {
            read_sectors_.erase(sector);
            return std::nullopt;
        }
        return std::span<const uint8_t>(sector->second);
    }

private:
    // Error codes 0 and 1 mean a good sector. Like c1541, any other makes the sector unreadable,
    // a data checksum error (5) too; so do error bytes that cannot be read.
    bool HardError(size_t index) const {
        if (!errorBytes_) return false;
        if (!errorsRead_) {
            errorsRead_ = true;
            errors_.resize(Blocks());
            if (!read_(body_ + Blocks() * kSectorSize, errors_)) errors_.clear();
        }
        return index >= errors_.size() || errors_[index] > 1;
    }

    const ByteReader& read_;
    uint64_t body_;
    bool errorBytes_;
    mutable std::map<size_t, std::array<uint8_t, kSectorSize>> read_sectors_;
    mutable std::vector<uint8_t> errors_;
    mutable bool errorsRead_ = false;
};

// A G64's sectors, each decoded when first read; unreadable as c1541 finds them.
class G64Map : public Geometry {
public:
    explicit G64Map(G64Sectors& g64) : Geometry(k1541, g64.Tracks()), g64_(g64) {}

    std::optional<std::span<const uint8_t>> Sector(Block block) const {
        if (!BlockIndex(block)) return std::nullopt;
        const G64Sectors::SectorRead read = g64_.Read(block.track, block.sector);
        return read.error > 1 ? std::nullopt : std::optional(read.bytes);
    }

private:
    G64Sectors& g64_;
};

template <class Sectors>
int FreeBlocks(const Sectors& sectors, const Layout& layout) {
    int free = 0;
    for (const FreeCounts& counts : layout.free) {
        const auto bam = sectors.Sector(counts.bam);
        for (int t = counts.first; bam && t <= counts.last; ++t) {
            if (t != counts.skip) free += (*bam)[counts.offset + counts.stride * static_cast<size_t>(t - counts.first)];
        }
    }
    return free;
}

constexpr size_t kSlotSize = 32;
constexpr size_t kSlotType = 2, kSlotTrack = 3, kSlotSector = 4, kSlotName = 5, kSlotBlocks = 30;

DiskDirEntry EntryFromSlot(std::span<const uint8_t> slot) {
    DiskDirEntry e;
    e.typeByte = slot[kSlotType];
    e.track = slot[kSlotTrack];
    e.sector = slot[kSlotSector];
    std::copy_n(slot.begin() + kSlotName, e.storedName.size(), e.storedName.begin());
    e.name = PetName::FromStored(e.storedName);
    e.blockCount = Le16(slot, kSlotBlocks);
    return e;
}

// Follows the directory chain from its first block. A link that leaves the disk, points to an
// unreadable sector or comes back to a sector already read ends the listing there.
template <class Sectors>
void ReadDirectory(const Sectors& sectors, Block next, std::vector<DiskDirEntry>& entries) {
    std::vector<bool> seen(sectors.Blocks(), false);
    while (true) {
        const auto index = sectors.BlockIndex(next);
        const auto block = sectors.Sector(next);
        if (!index || !block || seen[*index]) return;
        seen[*index] = true;
        for (size_t slot = 0; slot < kSectorSize; slot += kSlotSize) {
            const auto bytes = block->subspan(slot, kSlotSize);
            if (bytes[kSlotType] != 0) entries.push_back(EntryFromSlot(bytes));
        }
        if ((*block)[0] == 0) return;
        next = {(*block)[0], (*block)[1]};
    }
}

// VICE's X64 files: this signature, then version, drive type, track count and more in 64 bytes,
// then the image.
constexpr uint8_t kX64Signature[] = {0x43, 0x15, 0x41, 0x64};
constexpr size_t kX64HeaderSize = 64;

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
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

// A disk's file is read as its listing asks for it: the blocks of the header, the BAM and the
// directory, or for a G64 the tracks that hold them. A file whose size is not known is read whole.
bool DiskImage::Open(const std::filesystem::path& path) {
    *this = DiskImage();
    const FilePieces file(path);
    if (!file.IsOpen()) return Fail(FileReadReason(FileReadError::CannotOpen, kMaxFileSize));
    if (!file.Sized()) {
        std::string reason;
        const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
        return bytes ? Load(*bytes) : Fail(reason);
    }
    return Open(file.Size(), [&file](uint64_t offset, std::span<uint8_t> out) { return file.Read(offset, out); });
}

bool DiskImage::Open(uint64_t size, const ByteReader& read) {
    *this = DiskImage();
    if (size == 0) return Fail("empty file");
    if (size > kMaxFileSize) return Fail(FileReadReason(FileReadError::TooLarge, kMaxFileSize));
    std::vector<uint8_t> start(std::min<uint64_t>(size, 8));
    if (!read(0, start)) return Fail(FileReadReason(FileReadError::CannotRead, kMaxFileSize));
    if (IsG64(start)) return LoadG64(G64Sectors::Open(size, read, error_));
    if (StartsWith(start, kX64Signature)) {
        if (size < kX64HeaderSize) return Fail("X64 header cut short");
        return LoadSectors(read, kX64HeaderSize, size - kX64HeaderSize, DiskFormat::X64);
    }
    return LoadSectors(read, 0, size);
}

bool DiskImage::LoadG64(std::optional<G64Sectors> g64) {
    return g64 && ReadDisk(G64Map(*g64), DiskFormat::D64, DiskFormat::G64, g64->Tracks(), true);
}

// In memory a G64's tracks are decoded where they lie; any other image is read through the same
// blocks as from a file.
bool DiskImage::Load(std::span<const uint8_t> bytes) {
    *this = DiskImage();
    if (IsG64(bytes)) return LoadG64(G64Sectors::Open(bytes, error_));
    return Open(bytes.size(), BytesReader(bytes));
}

// An X64 body is read as the plain image of its size: the header's drive type and track count are
// not trusted (VICE ignores the drive type too), and as in VICE its error bytes are not looked at.
bool DiskImage::LoadSectors(const ByteReader& read, uint64_t body, uint64_t size, std::optional<DiskFormat> from) {
    const bool x64 = from == DiskFormat::X64;
    const auto shape = ShapeFromSize(size);
    if (!shape) {
        return Fail((x64 ? "no disk image after the X64 header: " : "not a disk image: ") + std::to_string(size) + " bytes");
    }
    const DiskFormat drive = shape->layout->format;
    return ReadDisk(SectorMap(read, body, *shape, !x64), drive, from.value_or(drive), shape->tracks, shape->errorBytes);
}

// The header, the BAM's free blocks and the directory of a disk in the layout of the drive whose
// plain images are `drive` (D64, D71 or D81), read from a file of `format`.
template <class Sectors>
bool DiskImage::ReadDisk(const Sectors& sectors, DiskFormat drive, DiskFormat format, int tracks, bool errorBytes) {
    const Layout& layout = drive == DiskFormat::D71 ? k1571 : drive == DiskFormat::D81 ? k1581 : k1541;
    for (const Block& b : layout.bamBlocks) {
        if (!sectors.Sector(b)) {
            return Fail("the header or BAM block (track " + std::to_string(b.track) + ", sector " + std::to_string(b.sector) +
                        ") is unreadable");
        }
    }
    format_ = format;
    tracks_ = tracks;
    hasErrorBytes_ = errorBytes;
    const auto header = *sectors.Sector(layout.header);  // one of the BAM blocks, so readable
    std::copy_n(header.begin() + static_cast<std::ptrdiff_t>(layout.nameOffset), storedName_.size(), storedName_.begin());
    std::copy_n(header.begin() + static_cast<std::ptrdiff_t>(layout.idOffset), storedId_.size(), storedId_.begin());
    diskName_ = PetName::FromStored(storedName_);
    diskId_ = PetName{{storedId_.begin(), storedId_.end()}};
    blocksFree_ = FreeBlocks(sectors, layout);
    ReadDirectory(sectors, layout.directory, entries_.items);
    return true;
}

std::string DiskImage::HeaderText1() const { return diskName_.Unicode(); }

std::string DiskImage::HeaderText2() const { return diskId_.Unicode(); }

}  // namespace floppex
