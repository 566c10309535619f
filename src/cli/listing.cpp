#include "cli/listing.h"

#include <algorithm>
#include <cstdio>

#include "c64/crt_file.h"
#include "c64/disk_image.h"
#include "c64/listing_text.h"
#include "c64/p00_file.h"
#include "c64/pet_name.h"
#include "c64/prg_file.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"

namespace floppex::cli {

namespace {

constexpr size_t kNameWidth = 16;
constexpr uint8_t kClosedPrg = 0x82;

ListingName FromPet(const PetName& name) {
    return {name.Ascii(), name.bytes};
}

std::string Padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// c1541's entry line: blocks left-aligned in five columns, the quoted name padded to 16, then the
// type between the splat and lock columns, both blank: tape and program entries are closed and
// never locked.
std::string EntryLine(const ListingEntry& entry) {
    return Padded(std::to_string(entry.blocks), 5) + "\"" + entry.name.text + "\"" +
           std::string(kNameWidth - std::min(kNameWidth, entry.name.text.size()), ' ') + " " + entry.type + " ";
}

// Tapes and program files have no id and no free blocks: the header line holds the name alone.
std::string RenderText(const Listing& listing) {
    std::string text = "0 \"" + Padded(listing.name.text, kNameWidth) + "\"\n";
    if (listing.entries.empty()) text += "Empty image\n";
    for (const ListingEntry& entry : listing.entries) text += EntryLine(entry) + "\n";
    return text;
}

// Opens file into reader; a file that cannot be read leaves the reader's reason in error.
template <class Reader>
bool Opened(Reader& reader, const std::filesystem::path& file, std::string& error) {
    if (reader.Open(file)) return true;
    error = reader.Error();
    return false;
}

std::optional<Listing> ReadDisk(const std::filesystem::path& file, std::string& error) {
    DiskImage image;
    if (!Opened(image, file, error)) return std::nullopt;
    Listing listing;
    listing.format = DiskFormatName(image.Format());
    listing.name = FromPet(image.DiskName());
    listing.id = FromPet(image.DiskId());
    for (const DiskDirEntry& item : image.Entries()) {
        listing.entries.push_back({FromPet(item.Name()), item.blockCount, item.FileType()});
    }
    listing.blocksFree = image.BlocksFree();
    listing.text = C1541Listing(image);
    return listing;
}

// Tape entries carry a 1541 type byte that old converters often left at 0 or 1; those are programs.
// The type column a disk entry of this type byte shows.
std::string TypeText(uint8_t typeByte) {
    DiskDirEntry as;
    as.typeByte = typeByte;
    return as.FileType();
}

std::string TapeType(uint8_t fileType) {
    const uint8_t kind = fileType & 0x07;
    return TypeText((kind >= 1 && kind <= 4) ? static_cast<uint8_t>(0x80 | kind) : kClosedPrg);
}

std::optional<Listing> ReadTape(const std::filesystem::path& file, std::string& error) {
    T64Image image;
    if (!Opened(image, file, error)) return std::nullopt;
    Listing listing;
    listing.name = FromPet(image.TapeName());
    for (const TapeDirEntry& item : image.Entries()) {
        const uint64_t size = item.endAddress >= item.startAddress ? item.endAddress - item.startAddress + 2u : 2u;
        listing.entries.push_back({FromPet(item.Name()), BlocksForSize(size), TapeType(item.fileType)});
    }
    listing.text = RenderText(listing);
    return listing;
}

std::optional<Listing> ReadP00(const std::filesystem::path& file, std::string& error) {
    P00File p00;
    if (!Opened(p00, file, error)) return std::nullopt;
    Listing listing;
    listing.name = FromPet(p00.Name());
    listing.entries.push_back({listing.name, BlocksForSize(p00.DataSize()), TypeText(kClosedPrg)});
    listing.text = RenderText(listing);
    return listing;
}

std::optional<Listing> ReadPrg(const std::filesystem::path& file, std::string& error) {
    PrgFile prg;
    if (!Opened(prg, file, error)) return std::nullopt;
    const auto stem = file.stem().u8string();
    Listing listing;
    listing.name = {std::string(stem.begin(), stem.end()), std::nullopt};
    listing.entries.push_back({listing.name, BlocksForSize(prg.Size()), TypeText(kClosedPrg)});
    listing.text = RenderText(listing);
    return listing;
}

std::optional<Listing> ReadCartridge(const std::filesystem::path& file, std::string& error) {
    CrtFile crt;
    if (!Opened(crt, file, error)) return std::nullopt;
    Listing listing;
    listing.name = {crt.Name(), std::nullopt};
    listing.fields = {{"hardware_type", int64_t{crt.HardwareType()}}, {"hardware", std::string(crt.HardwareName())},
                      {"version", crt.VersionText()}, {"revision", int64_t{crt.Revision()}},
                      {"exrom", int64_t{crt.Exrom()}}, {"game", int64_t{crt.Game()}}, {"mode", crt.ModeText()}};
    if (!crt.Problem().empty()) listing.fields.push_back({"problem", crt.Problem()});
    for (const CartridgeChip& chip : crt.Chips()) {
        listing.chips.push_back({{"offset", int64_t{chip.offset}}, {"type", chip.TypeText()}, {"bank", int64_t{chip.bank}},
                                 {"load_address", int64_t{chip.loadAddress}}, {"size", int64_t{chip.size}},
                                 {"packet_length", int64_t{chip.packetLength}}});
    }
    listing.text = CartconvListing(crt);
    return listing;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04x", value & 0xffff);
    return text;
}

// The disk form with the load addresses after each entry ("$0801-$0b45", the end one past the
// last byte); a tape without a header the KERNAL wrote is one entry of type "tap" and its size.
std::string TapText(const Listing& listing, const TapFile& tap) {
    std::string text = "0 \"" + Padded(listing.name.text, kNameWidth) + "\"\n";
    for (size_t i = 0; i < listing.entries.size(); ++i) {
        const ListingEntry& entry = listing.entries[i];
        text += EntryLine(entry) + (tap.Programs().empty() ? std::to_string(tap.FileSize()) + " bytes"
                                                           : Hex4(tap.Programs()[i].startAddress) + "-" +
                                                                 Hex4(tap.Programs()[i].endAddress)) + "\n";
    }
    return text + (tap.Problem().empty() ? "" : "note: " + tap.Problem() + "\n");
}

std::optional<Listing> ReadRawTape(const std::filesystem::path& file, std::string& error) {
    TapFile tap;
    if (!Opened(tap, file, error)) return std::nullopt;
    Listing listing;
    listing.name = {tap.TapeName(), std::nullopt};
    listing.fields = {{"version", int64_t{tap.Version()}}, {"size", static_cast<int64_t>(tap.FileSize())}};
    if (!tap.Problem().empty()) listing.fields.push_back({"problem", tap.Problem()});
    for (const TapeProgram& p : tap.Programs()) {
        listing.entries.push_back({FromPet(p.Name()), BlocksForSize(p.DataSize() + 2), p.TypeText(),
                                   {{"start", int64_t{p.startAddress}}, {"end", int64_t{p.endAddress}},
                                    {"size", static_cast<int64_t>(p.DataSize())}, {"data_found", p.dataFound},
                                    {"offset", static_cast<int64_t>(p.offset)}}});
    }
    if (tap.Programs().empty()) {
        listing.entries.push_back({listing.name, BlocksForSize(tap.FileSize()), "tap",
                                   {{"size", static_cast<int64_t>(tap.FileSize())}}});
    }
    listing.text = TapText(listing, tap);
    return listing;
}

}  // namespace

int BlocksForSize(uint64_t bytes) {
    constexpr uint64_t kDataPerBlock = 254;
    return static_cast<int>(std::max<uint64_t>(1, (bytes + kDataPerBlock - 1) / kDataPerBlock));
}

std::optional<Listing> ReadListing(const std::filesystem::path& file, FileType kind, std::string& error) {
    std::optional<Listing> listing;
    switch (kind) {
        case FileType::Disk: listing = ReadDisk(file, error); break;
        case FileType::Tape: listing = ReadTape(file, error); break;
        case FileType::PcFirst:
        case FileType::PcOther: listing = ReadP00(file, error); break;
        case FileType::Program: listing = ReadPrg(file, error); break;
        case FileType::Cartridge: listing = ReadCartridge(file, error); break;
        case FileType::RawTape: listing = ReadRawTape(file, error); break;
        default: error = "not a disk, tape, program or cartridge file"; break;
    }
    if (!listing) return std::nullopt;
    listing->kind = kind;
    if (listing->format.empty()) listing->format = KindName(kind);
    return listing;
}

}  // namespace floppex::cli
