#pragma once
// The contents of one C64 file in the shape of a 1541 directory: a header, entries and, for disks,
// the free blocks. Disk, tape and program files all read into this one form; raw tapes and
// cartridges add fields of their own.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/file_kind.h"

namespace floppex::cli {

struct ListingName {
    std::string text;                            // as c1541 prints it
    std::optional<std::vector<uint8_t>> petscii;  // raw bytes, absent for a name taken from the PC file
};

// A field beyond the directory's, for JSON: a number, text or a truth value.
struct ListingField {
    std::string key;
    std::variant<int64_t, std::string, bool> value;
};
using ListingFields = std::vector<ListingField>;

struct ListingEntry {
    ListingName name;
    int blocks = 0;
    std::string type;  // "prg", "seq", ... with c1541's "*" and "<"
    ListingFields fields;  // raw tapes: the header's addresses, where it lies in the file
};

struct Listing {
    FileType kind = FileType::Other;
    std::string_view format;  // KindName(kind), or for a disk the image's own format
    ListingName name;
    std::optional<ListingName> id;  // disks only: id, blank, DOS type
    std::vector<ListingEntry> entries;
    std::optional<int> blocksFree;  // disks only, as the BAM says
    ListingFields fields;           // raw tapes and cartridges: what their headers say
    std::vector<ListingFields> chips;  // cartridges, instead of entries: one per CHIP packet
    std::string text;               // the whole listing as c1541 -list prints it
};

// Reads a disk, T64, P00, PRG, CRT or TAP file. On failure returns nothing and sets error.
std::optional<Listing> ReadListing(const std::filesystem::path& file, FileType kind, std::string& error);

// Blocks a file of this many bytes (load address included) takes on a 1541.
int BlocksForSize(uint64_t bytes);

}  // namespace floppex::cli
