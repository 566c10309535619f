#pragma once
// One way to open any C64 file: a disk, tape, program, cartridge or raw tape file, or the one of
// these that an archive holds, read into one listing (or the reader's reason for refusing it).
//
// The window calls OpenC64File(path, FileTypeOf(path)) and fills its list from the result:
// `columns` and `rows` as they are, `info` in the info line, then for a disk two blank rows and
// its blocks free (a "d64" by its own rule from `fileBytes` and the entries' blocks, the others
// from `blocksFree`), then `problem` under a blank row; a refusal says "Error reading from " + `tag`.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "c64/disk_image.h"
#include "c64/file_type.h"
#include "c64/petscii.h"

namespace floppex {

struct ListingName {
    std::string text;                             // as c1541 prints it (what emulators are given)
    std::string shown;                            // UTF-8 with the C64's own glyphs, for display
    std::optional<std::vector<uint8_t>> petscii;  // raw bytes, absent for a name taken from the PC file
    std::vector<uint8_t> stored;                  // disks: as the directory keeps it, $A0 padding and all
};

// A field beyond the directory's, for JSON: a number, text or a truth value.
struct ListingField {
    std::string key;
    std::variant<int64_t, std::string, bool> value;
};
using ListingFields = std::vector<ListingField>;

struct ListingEntry {
    ListingName name;
    int blocks = 0;                         // as c1541 counts them
    std::string type;                       // "prg", "seq", ... with c1541's "*" and "<"
    std::optional<uint16_t> loadAddress;    // where the file says it loads; disks do not say
    std::optional<uint64_t> bytes;          // its size, load address included; disks count blocks only
    ListingFields fields;                   // raw tapes: the header's addresses, where it lies in the file
};

// A text of the window's table or info line: as shown in the window's own face, and the PETSCII
// it comes from when the file holds it (names); without bytes it is the program's own text.
struct ListingText {
    std::string shown;
    std::optional<std::vector<uint8_t>> petscii;
};

// A column of the window's list: its heading and its width in twips.
struct ListingColumn {
    std::wstring_view heading;
    int widthTwips = 0;
};

struct C64Listing {
    FileType type = FileType::Other;  // the type read: for an archive, its member's
    std::string_view format;          // "d64", "d71", "d81", "g64", "x64", "t64", "p00", "prg", "crt", "tap"
    ListingName name;                 // the header's name
    std::optional<ListingName> id;    // disks only: id, blank, DOS type
    std::vector<ListingEntry> entries;
    std::optional<int> blocksFree;    // disks only, as the BAM says (anything a broken BAM says)
    uint64_t fileBytes = 0;           // the length of the file read, which the .d64 rule needs
    ListingFields fields;             // raw tapes and cartridges: what their headers say
    std::vector<ListingFields> chips; // cartridges, instead of entries: one per CHIP packet
    std::string text;                 // the whole listing as c1541 -list (cartconv -f) prints it

    // The window's table: its columns, one text per column in each row, the info line above
    // it (its texts one after another), and what cut the file short, if anything.
    std::vector<ListingColumn> columns;
    std::vector<std::vector<ListingText>> rows;
    std::vector<ListingText> info;
    std::string problem;
};

struct C64File {
    std::optional<C64Listing> listing;  // nothing when the file was refused
    std::string error;                  // then why: the reader's or the unpacker's reason
    bool fromArchive = false;           // the listing is of the file an archive holds
    // The format the window's message names: a disk's extension in capitals ("D81"), else T64, Pxx,
    // PRG, CRT or TAP; empty when an archive could not be unpacked.
    std::wstring tag;
};

// The file at path, read as type; an archive is unpacked in memory under the extractor's limits,
// its member chosen as archive/member_chooser.h says, and listed under the name "currgame" with
// the member's extension.
C64File OpenC64File(const std::filesystem::path& path, FileType type);

// The same for a file already in memory; name is its file name (a program file and a raw tape
// are listed under it, and an archive's content may be recognised by it).
C64File OpenC64File(const std::filesystem::path& name, std::span<const uint8_t> bytes, FileType type);

// A disk image of size bytes named name, of which only the blocks its listing needs are read
// through read (a stream's, say).
C64File OpenC64Disk(const std::filesystem::path& name, uint64_t size, const ByteReader& read);

// The texts one after another, as the window's own face shows them or, given a character set, as
// the C64 draws them in the program's C64 face: the file's bytes as they are, the program's own
// text as the C64 prints it.
std::string TextOf(std::span<const ListingText> texts, std::optional<petscii::CharSet> c64Face = std::nullopt);

// Blocks a file of this many bytes (load address included) takes on a 1541.
int BlocksForSize(uint64_t bytes);

}  // namespace floppex
