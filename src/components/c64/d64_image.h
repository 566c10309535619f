#pragma once
// 1541 disk images: 35 or 40 tracks, with or without the error-byte block.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "c64/pet_name.h"

namespace floppex {

struct DiskDirEntry {
    PetName name;
    uint8_t typeByte = 0;     // as stored in the directory
    uint16_t blockCount = 0;  // as stored in the directory
    uint8_t track = 0, sector = 0;  // first data block

    const PetName& Name() const { return name; }
    std::string Blocks() const;    // decimal text, always parseable
    std::string FileType() const;  // "prg", "seq", "usr", "rel", "del", with c1541's "*" and "<"
};

class DiskDirectory {
public:
    std::vector<DiskDirEntry> items;
    size_t Count() const { return items.size(); }
    const DiskDirEntry& Item(size_t n) const { return items.at(n - 1); }  // 1-based
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

class D64Image {
public:
    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const;  // disk name, for display
    std::string HeaderText2() const;  // id and DOS type, for display
    const DiskDirectory& Entries() const { return entries_; }

    const PetName& DiskName() const { return diskName_; }
    const PetName& DiskId() const { return diskId_; }  // id, blank, DOS type: the five bytes c1541 shows
    int BlocksFree() const { return blocksFree_; }      // as the BAM says
    int Tracks() const { return tracks_; }

private:
    std::string error_;
    PetName diskName_, diskId_;
    DiskDirectory entries_;
    int blocksFree_ = 0;
    int tracks_ = 0;
};

}  // namespace floppex
