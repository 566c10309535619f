#pragma once
// The contents of one C64 file in the shape of a 1541 directory: a header, entries and, for disks,
// the free blocks. Disk, tape and program files all read into this one form.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/file_kind.h"

namespace floppex::cli {

struct ListingName {
    std::string text;                            // as c1541 prints it
    std::optional<std::vector<uint8_t>> petscii;  // raw bytes, absent for a name taken from the PC file
};

struct ListingEntry {
    ListingName name;
    int blocks = 0;
    std::string type;  // "prg", "seq", ... with c1541's "*" and "<"
};

struct Listing {
    FileType kind = FileType::Other;
    std::string_view format;  // KindName(kind), or for a disk the image's own format
    ListingName name;
    std::optional<ListingName> id;  // disks only: id, blank, DOS type
    std::vector<ListingEntry> entries;
    std::optional<int> blocksFree;  // disks only, as the BAM says
    std::string text;               // the whole listing as c1541 -list prints it
};

// Reads a D64, T64, P00 or PRG file. On failure returns nothing and sets error.
std::optional<Listing> ReadListing(const std::filesystem::path& file, FileType kind, std::string& error);

// Blocks a file of this many bytes (load address included) takes on a 1541.
int BlocksForSize(uint64_t bytes);

}  // namespace floppex::cli
