#pragma once
// T64 tape images, tolerant of what old converters wrote.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "c64/pet_name.h"

namespace floppex {

struct TapeDirEntry {
    PetName name;
    uint8_t entryType = 0;  // 1 = normal tape file; never 0 here (0 marks a free slot)
    uint8_t fileType = 0;   // 1541 type byte ($82 = prg)
    uint16_t startAddress = 0, endAddress = 0;  // end corrected where the header lied
    uint32_t offset = 0;    // of the data in the image
    size_t slot = 0;        // 0-based directory slot it came from

    const PetName& Name() const { return name; }
    size_t DataSize() const { return static_cast<uint16_t>(endAddress - startAddress); }
};

class TapeDirectory {
public:
    std::vector<TapeDirEntry> items;
    uint16_t Count() const { return static_cast<uint16_t>(items.size()); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

class T64Image {
public:
    static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const;  // tape name, for display
    std::string HeaderText2() const;  // signature text, e.g. "C64S tape image file"
    int32_t HeaderNumber1() const;    // used entries: those really listed
    int32_t HeaderNumber2() const;    // maximum entries (never fewer than the used ones)
    const TapeDirectory& Entries() const { return entries_; }

    const PetName& TapeName() const { return tapeName_; }
    // Program data of entry n (1-based): load address first, as in a PRG file. Empty when n is
    // not an entry.
    std::vector<uint8_t> ProgramData(size_t n) const;

private:
    bool Fail(std::string reason);
    void ReadEntries();
    void CorrectEndAddresses();

    std::string error_;
    std::string signature_;
    PetName tapeName_;
    int32_t maximum_ = 0;
    TapeDirectory entries_;
    std::vector<uint8_t> image_;
};

}  // namespace floppex
