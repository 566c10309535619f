#pragma once
// 1541 disk images: 35 to 42 tracks, with or without the error-byte block.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

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
    const DiskDirEntry& Item(size_t n) const { return items.at(n - 1); }  // 1-based
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

class DiskImage {
public:
    static constexpr size_t kMaxFileSize = 206114;  // 42 tracks with error bytes

    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const;  // disk name, for display
    std::string HeaderText2() const;  // id and DOS type, for display
    const DiskDirectory& Entries() const { return entries_; }

    const PetName& DiskName() const { return diskName_; }
    const PetName& DiskId() const { return diskId_; }  // id, blank, DOS type: the five bytes c1541 shows
    const std::array<uint8_t, 16>& StoredDiskName() const { return storedName_; }  // padding included
    const std::array<uint8_t, 5>& StoredDiskId() const { return storedId_; }
    int BlocksFree() const { return blocksFree_; }  // BAM free counts of tracks 1 to 35 but 18
    int Tracks() const { return tracks_; }
    bool HasErrorBytes() const { return hasErrorBytes_; }

private:
    bool Fail(std::string reason);
    void ReadBam(std::span<const uint8_t> bam);
    void ReadDirectory(std::span<const uint8_t> image);

    std::string error_;
    PetName diskName_, diskId_;
    std::array<uint8_t, 16> storedName_{};
    std::array<uint8_t, 5> storedId_{};
    DiskDirectory entries_;
    int blocksFree_ = 0;
    int tracks_ = 0;
    bool hasErrorBytes_ = false;
};

}  // namespace floppex
