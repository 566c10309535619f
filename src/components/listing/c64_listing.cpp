#include "listing/c64_listing.h"

#include <algorithm>
#include <cstdio>

#include "archive/archive_extractor.h"
#include "c64/crt_file.h"
#include "c64/listing_text.h"
#include "c64/p00_file.h"
#include "c64/pet_name.h"
#include "c64/prg_file.h"
#include "c64/size_text.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"

namespace floppex {

namespace {

constexpr size_t kNameWidth = 16;
constexpr uint8_t kClosedPrg = 0x82;

// The file to read: at a path, already in memory under a file name, or a disk of size bytes read
// through pieces.
struct Source {
    const std::filesystem::path& name;
    std::optional<std::span<const uint8_t>> bytes;
    const ByteReader* pieces = nullptr;
    uint64_t size = 0;

    std::string Stem() const {
        const auto stem = name.stem().u8string();
        return std::string(stem.begin(), stem.end());
    }
};

// Opens the source into reader; a file that cannot be read leaves the reader's reason in error.
// Bytes in memory are held to the size a reader takes from a file.
template <class Reader>
bool Opened(Reader& reader, const Source& source, std::string& error) {
    if (source.bytes && source.bytes->size() > Reader::kMaxFileSize) {
        error = "file too large (more than " + std::to_string(Reader::kMaxFileSize) + " bytes)";
        return false;
    }
    if (source.bytes ? reader.Load(*source.bytes) : reader.Open(source.name)) return true;
    error = reader.Error();
    return false;
}

bool Opened(TapFile& tape, const Source& source, std::string& error) {
    if (source.bytes && source.bytes->size() > TapFile::kMaxFileSize) {
        error = "too large for a raw tape: " + std::to_string(source.bytes->size()) + " bytes, more than 64 MiB";
        return false;
    }
    if (source.bytes ? tape.Load(*source.bytes, source.Stem()) : tape.Open(source.name)) return true;
    error = tape.Error();
    return false;
}

ListingName FromPet(const PetName& name, std::span<const uint8_t> stored = {}) {
    return {name.Ascii(), name.Unicode(), name.bytes, {stored.begin(), stored.end()}};
}

ListingName FromPc(std::string text) {
    std::string shown = text;
    return {std::move(text), std::move(shown), std::nullopt, {}};
}

ListingText Own(std::string text) { return {std::move(text), std::nullopt}; }
ListingText Pet(const ListingName& name) { return {name.shown, name.petscii}; }

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
std::string RenderText(const C64Listing& listing) {
    std::string text = "0 \"" + Padded(listing.name.text, kNameWidth) + "\"\n";
    if (listing.entries.empty()) text += "Empty image\n";
    for (const ListingEntry& entry : listing.entries) text += EntryLine(entry) + "\n";
    return text;
}

C64Listing Headed(std::string_view format, ListingName name) {
    C64Listing listing;
    listing.format = format;
    listing.name = std::move(name);
    return listing;
}

std::string_view DiskFormatName(DiskFormat format) {
    switch (format) {
        case DiskFormat::D64: break;
        case DiskFormat::D71: return "d71";
        case DiskFormat::D81: return "d81";
        case DiskFormat::G64: return "g64";
        case DiskFormat::X64: return "x64";
    }
    return "d64";
}

// The type column a disk entry of this type byte shows.
std::string TypeText(uint8_t typeByte) {
    DiskDirEntry as;
    as.typeByte = typeByte;
    return as.FileType();
}

// Tape entries carry a 1541 type byte that old converters often left at 0 or 1; those are programs.
std::string TapeType(uint8_t fileType) {
    const uint8_t kind = fileType & 0x07;
    return TypeText((kind >= 1 && kind <= 4) ? static_cast<uint8_t>(0x80 | kind) : kClosedPrg);
}

std::optional<C64Listing> ReadDisk(const Source& source, std::string& error) {
    DiskImage image;
    if (!(source.pieces ? image.Open(source.size, *source.pieces) : Opened(image, source, error))) {
        if (source.pieces) error = image.Error();
        return std::nullopt;
    }
    C64Listing listing = Headed(DiskFormatName(image.Format()), FromPet(image.DiskName(), image.StoredDiskName()));
    listing.id = FromPet(image.DiskId(), image.StoredDiskId());
    listing.columns = {{L"Filename", 1550}, {L"Blks", 630}, {L"Type", 750}};
    for (const DiskDirEntry& item : image.Entries()) {
        listing.entries.push_back({FromPet(item.Name(), item.storedName), item.blockCount, item.FileType(), {}, {}, {}});
        listing.rows.push_back({Pet(listing.entries.back().name), Own(item.Blocks()), Own(item.FileType())});
    }
    listing.blocksFree = image.BlocksFree();
    listing.info = {Pet(listing.name), Own(" "), Pet(*listing.id)};
    listing.text = C1541Listing(image);
    return listing;
}

std::optional<C64Listing> ReadTape(const Source& source, std::string& error) {
    T64Image image;
    if (!Opened(image, source, error)) return std::nullopt;
    C64Listing listing = Headed("t64", FromPet(image.TapeName()));
    listing.columns = {{L"Filename", 2930}};
    for (const TapeDirEntry& item : image.Entries()) {
        const uint64_t size = item.endAddress >= item.startAddress ? item.endAddress - item.startAddress + 2u : 2u;
        listing.entries.push_back({FromPet(item.Name()), BlocksForSize(size), TapeType(item.fileType),
                                   item.startAddress, size, {}});
        listing.rows.push_back({Pet(listing.entries.back().name)});
    }
    listing.info = {Pet(listing.name), Own("  " + image.HeaderText2() + "  " + std::to_string(image.HeaderNumber1()) +
                                           "/" + std::to_string(image.HeaderNumber2()))};
    listing.text = RenderText(listing);
    return listing;
}

// A file of one program: one closed entry, and one row in the window.
C64Listing OneProgram(std::string_view format, const ListingName& name, uint64_t bytes, uint16_t loadAddress,
                      std::vector<ListingColumn> columns, std::vector<ListingText> row, std::string info) {
    C64Listing listing = Headed(format, name);
    listing.entries.push_back({name, BlocksForSize(bytes), TypeText(kClosedPrg), loadAddress, bytes, {}});
    listing.columns = std::move(columns);
    listing.rows.push_back(std::move(row));
    listing.info = {Own(std::move(info))};
    listing.text = RenderText(listing);
    return listing;
}

std::optional<C64Listing> ReadP00(const Source& source, std::string& error) {
    P00File p00;
    if (!Opened(p00, source, error)) return std::nullopt;
    const ListingName name = FromPet(p00.Name());
    return OneProgram("p00", name, p00.DataSize(), p00.LoadAddress(), {{L"Filename", 1875}, {L"Size(Kb)", 1000}},
                      {Pet(name), Own(p00.SizeText())}, "PC64 Pxx File");
}

std::optional<C64Listing> ReadPrg(const Source& source, std::string& error) {
    PrgFile prg;
    if (!Opened(prg, source, error)) return std::nullopt;
    return OneProgram("prg", FromPc(source.Stem()), prg.Size(), prg.LoadAddress(),
                      {{L"Size(Kb)", 1100}, {L"Load Address", 1800}},
                      {Own(prg.SizeText()), Own(prg.AddressText1() + " " + prg.AddressText2())}, "PRG File");
}

std::optional<C64Listing> ReadCartridge(const Source& source, std::string& error) {
    CrtFile crt;
    if (!Opened(crt, source, error)) return std::nullopt;
    C64Listing listing = Headed("crt", FromPc(crt.Name()));
    listing.fields = {{"hardware_type", int64_t{crt.HardwareType()}}, {"hardware", std::string(crt.HardwareName())},
                      {"version", crt.VersionText()}, {"revision", int64_t{crt.Revision()}},
                      {"exrom", int64_t{crt.Exrom()}}, {"game", int64_t{crt.Game()}}, {"mode", crt.ModeText()}};
    if (!crt.Problem().empty()) listing.fields.push_back({"problem", crt.Problem()});
    listing.columns = {{L"Bank", 550}, {L"Address", 850}, {L"Size", 750}, {L"Chip", 780}};
    for (const CartridgeChip& chip : crt.Chips()) {
        listing.chips.push_back({{"offset", int64_t{chip.offset}}, {"type", chip.TypeText()}, {"bank", int64_t{chip.bank}},
                                 {"load_address", int64_t{chip.loadAddress}}, {"size", int64_t{chip.size}},
                                 {"packet_length", int64_t{chip.packetLength}}});
        listing.rows.push_back({Own(std::to_string(chip.bank)), Own(chip.AddressText()), Own(chip.SizeText()), Own(chip.TypeText())});
    }
    listing.info = {Own(crt.HeaderText1() + "  " + crt.HeaderText2() + "  " + crt.ModeText())};
    listing.problem = crt.Problem();
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
std::string TapText(const C64Listing& listing, const TapFile& tap) {
    std::string text = "0 \"" + Padded(listing.name.text, kNameWidth) + "\"\n";
    for (size_t i = 0; i < listing.entries.size(); ++i) {
        const ListingEntry& entry = listing.entries[i];
        text += EntryLine(entry) + (tap.Programs().empty() ? std::to_string(tap.FileSize()) + " bytes"
                                                           : Hex4(tap.Programs()[i].startAddress) + "-" +
                                                                 Hex4(tap.Programs()[i].endAddress)) + "\n";
    }
    return text + (tap.Problem().empty() ? "" : "note: " + tap.Problem() + "\n");
}

std::optional<C64Listing> ReadRawTape(const Source& source, std::string& error) {
    TapFile tap;
    if (!Opened(tap, source, error)) return std::nullopt;
    C64Listing listing = Headed("tap", FromPc(tap.TapeName()));
    listing.fields = {{"version", int64_t{tap.Version()}}, {"size", static_cast<int64_t>(tap.FileSize())}};
    if (!tap.Problem().empty()) listing.fields.push_back({"problem", tap.Problem()});
    listing.columns = {{L"Filename", 1400}, {L"Type", 450}, {L"Start", 530}, {L"Bytes", 550}};
    for (const TapeProgram& p : tap.Programs()) {
        listing.entries.push_back({FromPet(p.Name()), BlocksForSize(p.DataSize() + 2), p.TypeText(), p.startAddress,
                                   p.DataSize() + 2,
                                   {{"start", int64_t{p.startAddress}}, {"end", int64_t{p.endAddress}},
                                    {"size", static_cast<int64_t>(p.DataSize())}, {"data_found", p.dataFound},
                                    {"offset", static_cast<int64_t>(p.offset)}}});
        listing.rows.push_back({Pet(listing.entries.back().name), Own(p.TypeText()), Own(AddressText(p.startAddress)),
                                Own(std::to_string(p.DataSize()))});
    }
    if (tap.Programs().empty()) {
        listing.entries.push_back({listing.name, BlocksForSize(tap.FileSize()), "tap", std::nullopt, tap.FileSize(),
                                   {{"size", static_cast<int64_t>(tap.FileSize())}}});
        listing.rows.push_back({Own(tap.TapeName()), Own(""), Own(""), Own(std::to_string(tap.FileSize()))});
    }
    listing.info = {Own(tap.HeaderText1() + "  " + tap.HeaderText2())};
    listing.problem = tap.Problem();
    listing.text = TapText(listing, tap);
    return listing;
}

std::wstring TagOf(FileType type, const std::filesystem::path& name) {
    // Unit by unit: the tag's letters are ASCII, and a name need not be valid in any encoding.
    const std::filesystem::path::string_type native = name.filename().native();  // a copy: filename() is a temporary
    return ReadErrorTag(type, std::wstring(native.begin(), native.end()));
}

C64File Read(const Source& source, FileType type) {
    C64File file;
    file.tag = TagOf(type, source.name);
    switch (type) {
        case FileType::Disk: file.listing = ReadDisk(source, file.error); break;
        case FileType::Tape: file.listing = ReadTape(source, file.error); break;
        case FileType::PcFirst:
        case FileType::PcOther: file.listing = ReadP00(source, file.error); break;
        case FileType::Program: file.listing = ReadPrg(source, file.error); break;
        case FileType::Cartridge: file.listing = ReadCartridge(source, file.error); break;
        case FileType::RawTape: file.listing = ReadRawTape(source, file.error); break;
        case FileType::Archive:
        case FileType::Other: file.error = "file type not supported"; break;
    }
    if (file.listing) file.listing->type = type;
    return file;
}

// The archive's member, listed under the name the window gives the file it unpacks.
C64File ReadMember(std::optional<archive::UnpackResult> unpacked, std::string error) {
    if (!unpacked) {
        C64File file;
        file.error = std::move(error);
        file.fromArchive = true;
        return file;
    }
    const std::filesystem::path name = "currgame" + unpacked->extension;
    C64File file = Read({name, unpacked->data}, FileTypeOf(name.native()));
    file.fromArchive = true;
    if (file.listing) file.listing->fileBytes = unpacked->data.size();
    return file;
}

}  // namespace

C64File OpenC64File(const std::filesystem::path& path, FileType type) {
    if (type == FileType::Archive) {
        std::string error;
        auto unpacked = ArchiveExtractor().UnpackInMemory(path, error);
        return ReadMember(std::move(unpacked), std::move(error));
    }
    C64File file = Read({path, std::nullopt}, type);
    std::error_code ec;
    const uintmax_t length = std::filesystem::file_size(path, ec);
    if (file.listing && !ec) file.listing->fileBytes = length;
    return file;
}

C64File OpenC64File(const std::filesystem::path& name, std::span<const uint8_t> bytes, FileType type) {
    if (type == FileType::Archive) {
        std::string error;
        const auto name8 = name.filename().u8string();
        auto unpacked = ArchiveExtractor().UnpackInMemory(std::string(name8.begin(), name8.end()), bytes, error);
        return ReadMember(std::move(unpacked), std::move(error));
    }
    C64File file = Read({name, bytes}, type);
    if (file.listing) file.listing->fileBytes = bytes.size();
    return file;
}

C64File OpenC64Disk(const std::filesystem::path& name, uint64_t size, const ByteReader& read) {
    C64File file = Read({name, std::nullopt, &read, size}, FileType::Disk);
    if (file.listing) file.listing->fileBytes = size;
    return file;
}

std::string TextOf(std::span<const ListingText> texts, std::optional<petscii::CharSet> c64Face) {
    std::string text;
    for (const ListingText& part : texts) {
        if (!c64Face) text += part.shown;
        else text += part.petscii ? petscii::ToC64Face(*part.petscii, *c64Face) : petscii::AsciiToC64Face(part.shown, *c64Face);
    }
    return text;
}

int BlocksForSize(uint64_t bytes) {
    constexpr uint64_t kDataPerBlock = 254;
    return static_cast<int>(std::max<uint64_t>(1, (bytes + kDataPerBlock - 1) / kDataPerBlock));
}

}  // namespace floppex
