#pragma once
// Disk images: the 1541's (35 to 42 tracks), the 1571's (two sides of 35 tracks) and the 1581's
// (80 tracks of 40 sectors), each with or without the error-byte block, and VICE's X64 files,
// which put a 64-byte header in front of one of them. G64 files come as the sectors g64_image.h reads.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "c64/g64_image.h"
#include "c64/pet_name.h"

namespace floppex {

struct DiskDirEntry {
    PetName name;
    std::array<uint8_t, 16> storedName{};  // the 16 name bytes as in the directory, padding included
    uint8_t typeByte = 0;     // as stored in the directory
    uint16_t blockCount = 0;  // as stored in the directory
    uint8_t track = 0, sector = 0;  // first data block

    const PetName& Name() const { return name; }
    std::string Blocks() const;    // decimal text, always parseable
    std::string FileType() const;  // "prg", "seq", "usr", "rel", "del", "cbm", "dir" or "???",
                                   // "*" before it when not closed, "<" after it when locked
};

class DiskDirectory {
public:
    std::vector<DiskDirEntry> items;
    size_t Count() const { return items.size(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

// The kind of file: a plain sector image of one drive, GCR-encoded 1541 tracks, or an X64 file.
enum class DiskFormat { D64, D71, D81, G64, X64 };

class DiskImage {
public:
    // A G64 at its largest; an X64 header and a 1581 image with error bytes are less.
    static constexpr size_t kMaxFileSize = std::max<size_t>(kMaxG64FileSize, 64 + 3200 * 257);

    bool Open(const std::filesystem::path& path);
    // A file of size bytes, of which only what the listing needs is read (a stream's, say).
    bool Open(uint64_t size, const ByteReader& read);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const;  // disk name, for display
    std::string HeaderText2() const;  // id and DOS type, for display
    const DiskDirectory& Entries() const { return entries_; }

    const PetName& DiskName() const { return diskName_; }
    const PetName& DiskId() const { return diskId_; }  // id, blank, DOS type: the five bytes c1541 shows
    const std::array<uint8_t, 16>& StoredDiskName() const { return storedName_; }  // padding included
    const std::array<uint8_t, 5>& StoredDiskId() const { return storedId_; }
    int BlocksFree() const { return blocksFree_; }  // the BAM's free counts, as c1541 sums them
    DiskFormat Format() const { return format_; }
    int Tracks() const { return tracks_; }  // 70 on a 1571 disk, 80 on a 1581 disk
    bool HasErrorBytes() const { return hasErrorBytes_; }

private:
    bool Fail(std::string reason);
    bool LoadG64(std::optional<G64Sectors> g64);
    // A plain sector image of size bytes from body on, told by its size; from: the file's format
    // when it holds more than that.
    bool LoadSectors(const ByteReader& read, uint64_t body, uint64_t size, std::optional<DiskFormat> from = std::nullopt);
    template <class Sectors>
    bool ReadDisk(const Sectors& sectors, DiskFormat drive, DiskFormat format, int tracks, bool errorBytes);

    std::string error_;
    PetName diskName_, diskId_;
    std::array<uint8_t, 16> storedName_{};
    std::array<uint8_t, 5> storedId_{};
    DiskDirectory entries_;
    int blocksFree_ = 0;
    DiskFormat format_ = DiskFormat::D64;
    int tracks_ = 0;
    bool hasErrorBytes_ = false;
};

}  // namespace floppex
