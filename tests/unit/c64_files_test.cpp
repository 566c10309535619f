// The C64 file readers on fixtures from outside tools (tests/fixtures/images.sh): disks by c1541 and
// cbmconvert against c1541's listing, tapes by t64.py taken apart by cbmconvert (faulty ones patched
// at the documented offsets), programs by cl65 and petcat, PC64 files by cbmconvert; PETSCII in
// Unicode against the C64's glyphs (in ASCII it is what c1541 lists for allbytes.d64).
#include <cstring>

#include "c64/disk_image.h"
#include "c64/file_bytes.h"
#include "c64/g64_image.h"
#include "c64/listing_text.h"
#include "c64/p00_file.h"
#include "c64/pet_name.h"
#include "c64/petscii.h"
#include "c64/prg_file.h"
#include "c64/size_text.h"
#include "c64/t64_image.h"
#include "fixtures.h"
#include "listing/c64_listing.h"

namespace floppex {
namespace {

using namespace testing;

fs::path Image(const std::string& name) { return FixtureDir("images") / name; }

DiskImage Loaded(const std::string& name) {
    DiskImage image;
    EXPECT_TRUE(image.Open(Image(name))) << name << ": " << image.Error();
    return image;
}

// Every fixture image (images.sh says what each holds) lists exactly as c1541 lists it; where c1541
// lists nothing, the image does not load.
TEST(DiskImage, ListingEqualsC1541ForEveryFixtureImage) {
    int compared = 0;
    for (const auto& file : fs::directory_iterator(FixtureDir("images"))) {
        if (file.path().extension() != ".list") continue;
        DiskImage image;
        const std::string listing = image.Open(file.path().parent_path() / file.path().stem()) ? C1541Listing(image) : "";
        EXPECT_EQ(listing, ReadText(file.path())) << file.path().filename() << image.Error();
        ++compared;
    }
    EXPECT_GE(compared, 42);
}

// What c1541 cannot read in the G64s, as .d64 error bytes (the drive's errors 21, 23 and 74 as 3, 5
// and 15); every other sector as in the .d64 that c1541 wrote alike.
TEST(G64Image, SectorsAndErrorsAreWhatC1541Reads) {
    struct Case { const char* name; const char* d64; size_t first, count; uint8_t error; };
    constexpr size_t t18 = 357, errorBytes = 683 * 256;
    for (const Case& c : {Case{"mixed.g64", "mixed.d64", 0, 0, 1}, Case{"g64_rotated.g64", "mixed.d64", 0, 0, 1},
                          Case{"g64_shortsync.g64", "mixed.d64", 0, 0, 1},
                          Case{"g64_header.g64", "many.d64", 0, 0, 1}, Case{"g64_dirchecksum.g64", "many.d64", t18 + 4, 1, 5},
                          Case{"g64_nosync18.g64", "many.d64", t18, 19, 3}, Case{"g64_past1.g64", "many.d64", 0, 21, 15}}) {
        std::string reason;
        const auto image = G64SectorImage(ReadBytes(Image(c.name)), reason);
        ASSERT_TRUE(image) << c.name << reason;
        Bytes expected = ReadBytes(Image(c.d64));
        expected.resize(683 * 257, 1);
        ASSERT_EQ(image->size(), expected.size()) << c.name;
        for (size_t b = c.first; b < c.first + c.count; ++b) {  // what an unreadable sector holds does not count
            expected[errorBytes + b] = c.error;
            std::copy_n(&(*image)[b * 256], 256, &expected[b * 256]);
        }
        EXPECT_TRUE(*image == expected) << c.name;
    }
    // Read as asked for: one track's length and bytes, once, however many of its sectors are read.
    const Bytes g64 = ReadBytes(Image("mixed.g64"));
    size_t reads = 0;
    std::string reason;
    auto lazy = G64Sectors::Open(g64.size(), [&](uint64_t at, std::span<uint8_t> out) {
        return ++reads, std::copy_n(g64.begin() + static_cast<std::ptrdiff_t>(at), out.size(), out.begin()), true;
    }, reason);
    for (const size_t opened = reads; const int sector : {1, 0, 1})
        EXPECT_TRUE(lazy && lazy->Read(18, sector).error == 1 && reads == opened + 2) << sector;
}

// Header, names, types and blocks are in the listings (and in floppex-cli's JSON, compared with c1541's text).
TEST(DiskImage, ReadsTracksErrorBytesAndEntriesOfC1541Images) {
    struct Case { const char* name; int tracks; bool errors; size_t entries = 6; };
    for (const Case& c : {Case{"mixed.d64", 35, false}, Case{"errors_ok.d64", 35, true}, Case{"tracks40.d64", 40, false},
                          Case{"tracks40_errors.d64", 40, true}, Case{"tracks42.d64", 42, false}, Case{"errors_ok.d71", 70, true, 5},
                          Case{"many.d81", 80, false, 30}, Case{"errors.x64", 35, true, 3}, Case{"d81body.x64", 80, false, 30}}) {
        const auto sized = Loaded(c.name);
        EXPECT_EQ(sized.Tracks(), c.tracks) << c.name;
        EXPECT_EQ(sized.HasErrorBytes(), c.errors) << c.name;
        EXPECT_EQ(sized.Entries().Count(), c.entries) << c.name;
    }
}

TEST(DiskImage, RejectsFilesThatAreNoImage) {
    const auto good = ReadBytes(Image("mixed.d64"));
    DiskImage image;
    for (size_t size : {size_t{0}, size_t{1}, good.size() - 256, good.size() - 1, good.size() + 1, size_t{174848 + 682},
                        size_t{349696 + 1}, size_t{819200 - 256}, size_t{819200 - 40 * 256}, size_t{1} << 20}) {
        Bytes bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(std::min(size, good.size())));
        bytes.resize(size, 0);
        ASSERT_TRUE(image.Load(good));
        EXPECT_FALSE(image.Load(bytes)) << size;  // and nothing of the earlier image stays
        EXPECT_FALSE(image.Error().empty());
        EXPECT_EQ(image.Entries().Count(), 0u);
        EXPECT_TRUE(image.DiskName().bytes.empty());
    }
    // An unreadable header or BAM block (18/0, 53/0 of a 1571, 40/0 to 40/2 of a 1581): c1541 lists nothing.
    for (const auto& [name, at] : {std::pair{"errors_ok.d64", 174848 + 357}, {"errors_ok.d71", 349696 + 683 + 357},
                                   {"errors_dir.d81", 819200 + 1560}, {"errors_dir.d81", 819200 + 1562}}) {
        auto withErrors = ReadBytes(Image(name));
        withErrors[static_cast<size_t>(at)] = 2;
        EXPECT_FALSE(image.Load(withErrors)) << name << " " << at;
    }
    const auto x64 = ReadBytes(Image("mixed.x64"));  // a header cut short or followed by no image
    for (size_t size : {size_t{4}, size_t{63}, size_t{64}, x64.size() - 1}) EXPECT_FALSE(image.Load(std::span(x64).first(size))) << size;
    EXPECT_FALSE(image.Open(Image("missing.d64")) || image.Error().empty() || image.Open(FixtureDir("images")));
}

Bytes Tape() { return ReadBytes(Image("three.t64")); }
Bytes TapeProgram(size_t n) { return ReadBytes(Image(std::vector<std::string>{"hello.prg", "basic.prg", "border_c000.prg"}[n - 1])); }
constexpr size_t Slot(size_t n) { return 64 + 32 * (n - 1); }
void Put(Bytes& b, size_t at, uint32_t v, int size = 2) { for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i)); }

TEST(T64Image, ProgramDataEqualsWhatCbmconvertExtracts) {
    T64Image image;
    ASSERT_TRUE(image.Open(Image("three.t64"))) << image.Error();
    EXPECT_EQ(image.HeaderText1() + "|" + image.HeaderText2(), "FIXTURE TAPE|C64S tape image file");
    EXPECT_EQ(std::to_string(image.HeaderNumber1()) + " of " + std::to_string(image.HeaderNumber2()), "3 of 3");
    ASSERT_EQ(image.Entries().Count(), 3);
    size_t n = 1;
    for (const auto& entry : image.Entries()) {
        const auto extracted = ReadBytes(Image("tape") / (entry.Name().Ascii() + ".prg"));
        EXPECT_EQ(extracted, TapeProgram(n)) << entry.Name().Ascii();
        EXPECT_EQ(image.ProgramData(n++), extracted) << entry.Name().Ascii();
    }
    EXPECT_EQ(image.Entries().items[1].Name().Unicode(), "BASIC LOOP");
    EXPECT_TRUE(image.ProgramData(0).empty() && image.ProgramData(4).empty());
}

// Signatures vary; the used-entries count and the maximum are often 0 or wrong. Entries are
// counted among the slots, free slots passed over. Without "C64" in front it is no tape.
TEST(T64Image, ToleratesHeaderFaultsButNeedsTheSignatureAndCorrectsEndAddresses) {
    struct Case { const char* signature; uint16_t maximum, used; int entries; };
    const char* sig = "C64S tape image file";
    T64Image image;
    for (const Case& c : {Case{"C64 tape image file", 30, 3, 3}, Case{"C64S tape file", 30, 3, 3}, Case{"C64 TAPE", 30, 3, 3},
                          Case{sig, 30, 0, 3}, Case{sig, 30, 65535, 3}, Case{sig, 3, 1, 3}, Case{sig, 1, 0, 1},
                          Case{sig, 0, 0, 1}, Case{sig, 65535, 3, 3}, Case{"c64 tape image file", 3, 3, -1},
                          Case{"T64 tape", 3, 3, -1}, Case{"C6", 3, 3, -1}}) {
        SCOPED_TRACE(std::string(c.signature) + " maximum " + std::to_string(c.maximum) + " used " + std::to_string(c.used));
        auto bytes = Tape();
        std::fill_n(std::copy_n(c.signature, std::strlen(c.signature), bytes.begin()), 32 - std::strlen(c.signature), 0);
        Put(bytes, 0x22, c.maximum);
        Put(bytes, 0x24, c.used);
        EXPECT_EQ(image.Load(bytes), c.entries >= 0) << image.Error();
        EXPECT_EQ(image.Error().empty(), c.entries >= 0);
        EXPECT_EQ(image.Entries().Count(), std::max(c.entries, 0));
        EXPECT_EQ(image.HeaderNumber1(), std::max(c.entries, 0));
        if (c.entries > 0) EXPECT_EQ(image.ProgramData(c.entries), TapeProgram(c.entries));
    }
    auto gap = Tape();
    gap[Slot(2)] = 0;  // a free slot
    ASSERT_TRUE(image.Load(gap) && image.Entries().Count() == 2);
    EXPECT_EQ(image.Entries().items[1].Name().Ascii(), "border");
    EXPECT_EQ(image.ProgramData(2), TapeProgram(3));
    EXPECT_FALSE(image.Load({}));
    EXPECT_FALSE(image.Load(std::span(gap).first(63)));
    ASSERT_TRUE(image.Load(std::span(gap).first(64)));  // a bare header is an empty tape
    EXPECT_EQ(image.Entries().Count(), 0);
    EXPECT_FALSE(image.Open(Image("missing.t64")) || image.Error().empty());

    // Wrong end addresses ($C3C6 from old converters) follow from where the next file's data starts,
    // in offset order, or for the last file from the end of the image; padding after the last file
    // does not lengthen it. A slot whose data lies outside the file is no entry.
    auto wrongEnds = Tape();
    for (size_t n = 1; n <= 3; ++n) Put(wrongEnds, Slot(n) + 4, 0xc3c6);
    ASSERT_TRUE(image.Load(wrongEnds));
    for (size_t n = 1; n <= 3; ++n) EXPECT_EQ(image.ProgramData(n), TapeProgram(n)) << n;
    auto padded = Tape();
    padded.resize(padded.size() + 1000, 0);
    ASSERT_TRUE(image.Load(padded));
    EXPECT_EQ(image.ProgramData(3), TapeProgram(3));
    // Far beyond the image, or empty: up to the end of the image; a single byte is believed.
    const uint16_t start = static_cast<uint16_t>(padded[Slot(3) + 2] | padded[Slot(3) + 3] << 8);
    for (const auto& [end, size] : {std::pair<uint16_t, size_t>{0xffff, TapeProgram(3).size() + 1000},
                                    {start, TapeProgram(3).size() + 1000}, {static_cast<uint16_t>(start + 1), 3}}) {
        Put(padded, Slot(3) + 4, end);
        ASSERT_TRUE(image.Load(padded));
        EXPECT_EQ(image.ProgramData(3).size(), size) << end;
    }

    // The first two slots' data swapped, the third's far outside the file (and its data gone). In
    // offset order the second slot's data comes first and ends where the first slot's begins.
    auto shuffled = wrongEnds;
    shuffled.resize(shuffled.size() - (TapeProgram(3).size() - 2));
    for (size_t i = 0; i < 4; ++i) std::swap(shuffled[Slot(1) + 8 + i], shuffled[Slot(2) + 8 + i]);
    Put(shuffled, Slot(3) + 8, 1 << 20, 4);
    ASSERT_TRUE(image.Load(shuffled) && image.Entries().Count() == 2);
    EXPECT_EQ(image.Entries().items[0].Name().Ascii(), "hello");
    auto first = TapeProgram(2), second = TapeProgram(1);
    std::swap_ranges(first.begin(), first.begin() + 2, second.begin());  // each keeps its slot's start address
    EXPECT_EQ(image.ProgramData(1), first);
    EXPECT_EQ(image.ProgramData(2), second);
}

// Sizes in kilobytes have one decimal, rounded half up.
TEST(PrgFile, ReadsLoadAddressAndSizeOfRealPrograms) {
    const struct { const char *name, *address, *kilobytes; } cases[] = {
        {"hello.prg", "$0801 2049", nullptr}, {"basic.prg", "$0801 2049", nullptr}, {"border_c000.prg", "$C000 49152", nullptr},
        {"big.prg", "$1000 4096", "9.8"}, {"tiny.prg", "$0801 2049", "0.0"}};  // big: 10002 bytes
    PrgFile prg;
    for (const auto& c : cases) {
        ASSERT_TRUE(prg.Open(Image(c.name))) << c.name << ": " << prg.Error();
        EXPECT_EQ(prg.AddressText1() + " " + prg.AddressText2(), c.address) << c.name;
        EXPECT_EQ(prg.Size(), fs::file_size(Image(c.name))) << c.name;
        if (c.kilobytes) EXPECT_EQ(prg.SizeText(), c.kilobytes) << c.name;
    }
    // Names outside the ANSI code page reach the file system intact.
    ScratchDir dir("prg");
    const auto path = dir.Path() / fs::path(u8"Spiél ゲーム.prg");
    WriteBytes(path, Bytes{0xff, 0xff});
    ASSERT_TRUE(prg.Open(path)) << prg.Error();
    EXPECT_EQ(prg.AddressText1() + prg.AddressText2(), "$FFFF65535");
    for (const Bytes& bad : {Bytes{}, Bytes{0x01}, Bytes(PrgFile::kMaxFileSize + 1, 0)})  // no load address, too large
        EXPECT_FALSE(prg.Load(bad) || prg.Error().empty()) << bad.size();
    EXPECT_FALSE(prg.Open(Image("missing.prg")) || prg.Error().empty());
    const std::pair<size_t, const char*> sizes[] = {{51, "0.0"}, {52, "0.1"}, {1075, "1.0"}, {1076, "1.1"}, {16777216, "16384.0"}};
    for (const auto& [bytes, text] : sizes) EXPECT_EQ(KilobyteText(bytes), text) << bytes;
}

// cbmconvert's files; changed at the documented offsets: the name padded with zeros or shifted
// spaces or using all 16 bytes, a bad signature, the file cut short.
TEST(P00File, ReadsCbmconvertFilesNamesOfAnyPaddingAndRefusesBrokenFiles) {
    P00File p00;
    for (const auto& [file, names, program] : {std::tuple{"hellogam.p00", "hello game|HELLO GAME", "hello.prg"},
                                               {"pc64/b254.p00", "b254|B254", "b254.prg"}}) {
        ASSERT_TRUE(p00.Open(Image(file))) << file << ": " << p00.Error();
        EXPECT_EQ(p00.Name().Ascii() + "|" + p00.Name().Unicode(), names);
        const auto prg = ReadBytes(Image(program));
        EXPECT_TRUE(p00.DataSize() == prg.size() && p00.LoadAddress() == (prg[0] | prg[1] << 8)) << file;
        EXPECT_EQ(p00.SizeText(), KilobyteText(prg.size()));
    }
    const Bytes good = ReadBytes(Image("pc64/b254.p00"));
    for (const auto& [padding, name] : {std::pair{0x00, "b254"}, {0xa0, "b254"}, {0x41, "b254aaaaaaaaaaaa"}}) {
        Bytes b = good;
        std::fill(b.begin() + 12, b.begin() + 24, padding);
        ASSERT_TRUE(p00.Load(b));
        EXPECT_EQ(p00.Name().Ascii(), name);
    }
    ASSERT_TRUE(p00.Load(std::span(good).first(28)));  // a program of its load address alone
    EXPECT_EQ(p00.DataSize(), 2u);
    std::vector<Bytes> bad = {good, good, ReadBytes(Image("hello.prg"))};
    bad[0][7] = ' ', bad[1][0] = 'c';
    for (size_t size : {0, 7, 8, 25, 26, 27}) bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    for (const Bytes& b : bad) EXPECT_FALSE(p00.Load(b) || p00.Error().empty()) << b.size();
    EXPECT_FALSE(p00.Open(Image("missing.p00")));
}

// A file in memory lists as the file it came from; an archive lists the member it holds.
TEST(OpenC64File, BytesListAsTheFileTheyCameFrom) {
    for (const std::string name : {"mixed.d64", "games.t64", "hellogam.p00", "b254.prg", "mixed.zip"}) {
        const FileType type = FileTypeOf(name);
        const C64File file = OpenC64File(Image(name), type), held = OpenC64File(name, ReadBytes(Image(name)), type);
        ASSERT_TRUE(file.listing && held.listing) << name << file.error << held.error;
        EXPECT_EQ(held.listing->text + TextOf(held.listing->info) + TextOf(held.listing->rows.back()),
                  file.listing->text + TextOf(file.listing->info) + TextOf(file.listing->rows.back())) << name;
        EXPECT_EQ(held.listing->fileBytes + file.listing->fileBytes, 2 * fs::file_size(Image(name == "mixed.zip" ? "mixed.d64" : name)));
    }
}

Bytes Pattern(size_t n) { Bytes b(n); for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + i / 251); return b; }

// Whole-file reading up to a cap (beyond one read step, so sizes past it need no second pass),
// files that are not there or not files, and replacing a longer file with a shorter one.
TEST(WholeFile, ReadsUpToTheCapAndWritesWholeFiles) {
    ScratchDir dir("wholefile");
    constexpr size_t kCap = 200000;
    for (const size_t size : {size_t{0}, size_t{1}, kCap - 1, kCap, kCap + 1, kCap + 70000}) {
        const auto path = dir.Path() / ("f" + std::to_string(size));
        WriteBytes(path, Pattern(size));
        Bytes out{1, 2, 3};
        EXPECT_EQ(ReadWholeFile(path, kCap, out), size <= kCap ? FileReadError::None : FileReadError::TooLarge) << size;
        EXPECT_EQ(out, size <= kCap ? Pattern(size) : Bytes{}) << size;
    }
    std::string reason, missing;
    EXPECT_FALSE(ReadFileBytes(dir.Path() / ("f" + std::to_string(kCap + 1)), kCap, reason) || ReadFileBytes(dir.Path() / "missing", 100, missing));
    EXPECT_TRUE(reason.find("too large") != std::string::npos && missing == "cannot open the file") << reason << "|" << missing;
    Bytes out;
    EXPECT_EQ(ReadWholeFile(dir.Path() / "missing", 100, out), FileReadError::CannotOpen);
    EXPECT_NE(ReadWholeFile(dir.Path(), 100, out), FileReadError::None);
    EXPECT_FALSE(WriteWholeFile(dir.Path() / "no-such-folder" / "f", Pattern(10)));
    const auto path = dir.Path() / "out.d64";
    WriteBytes(path, Pattern(174848));
    const Bytes shorter = {9, 8, 7, 6, 5};
    EXPECT_TRUE(WriteWholeFile(path, shorter) && ReadBytes(path) == shorter);
    EXPECT_TRUE(WriteWholeFile(path, {}) && ReadBytes(path).empty());
}

std::string Unicode(uint8_t c) { return petscii::ToUnicode(std::span<const uint8_t>(&c, 1)); }

// In the listing, one well-formed UTF-8 code point per byte, none of them a control character, showing the
// upper-case and graphics set.
TEST(Petscii, ListingAndC64FaceShowEachByteAsTheC64Does) {
    for (int value = 0; value < 256; ++value) {
        const std::string s = Unicode(static_cast<uint8_t>(value));
        const size_t length = s.empty() ? 0 : (s[0] & 0x80) == 0 ? 1 : (s[0] & 0xe0) == 0xc0 ? 2 : (s[0] & 0xf0) == 0xe0 ? 3
                                            : (s[0] & 0xf8) == 0xf0 ? 4 : 0;
        ASSERT_EQ(s.size(), length) << "byte " << value;
        char32_t cp = static_cast<uint8_t>(s[0]) & (0x7f >> (length == 1 ? 0 : length));
        for (size_t i = 1; i < length; ++i) {
            EXPECT_EQ(s[i] & 0xc0, 0x80) << "byte " << value;
            cp = cp << 6 | (s[i] & 0x3f);
        }
        EXPECT_FALSE(cp < 0x20 || (cp >= 0x7f && cp < 0xa0)) << "control character for byte " << value;
    }
    EXPECT_EQ(petscii::ToUnicode(Bytes{0x48, 0x45, 0x4c, 0x4c, 0x4f, 0x20, 0x31, 0x21}), "HELLO 1!");
    // Pound, arrows, spade and heart (shifted A, S), pi, shifted space, left half block, a line of
    // the Legacy Computing block; reverse-on as a reverse R, clear screen as a (reverse) heart.
    const std::pair<uint8_t, const char*> glyphs[] = {
        {0x5c, "\u00a3"}, {0x5e, "\u2191"}, {0x5f, "\u2190"}, {0xc1, "\u2660"}, {0xd3, "\u2665"},     {0xde, "\u03c0"},
        {0xff, "\u03c0"}, {0xa0, " "},      {0xa1, "\u258c"}, {0xc3, "\U0001fb79"}, {0x12, "\U0001f181"}, {0x93, "\u2665"}};
    for (const auto& [byte, glyph] : glyphs) EXPECT_EQ(Unicode(byte), glyph) << int{byte};
    // The second copies of the graphics look like the first.
    for (int c = 0x60; c <= 0x7f; ++c) EXPECT_EQ(Unicode(static_cast<uint8_t>(c)), Unicode(static_cast<uint8_t>(c + 0x60)));
    for (int c = 0xe0; c <= 0xfe; ++c) EXPECT_EQ(Unicode(static_cast<uint8_t>(c)), Unicode(static_cast<uint8_t>(c - 0x40)));
    const auto name = PetName::FromStored(Bytes{0x47, 0x41, 0x4d, 0x45, 0xa0, 0x2c, 0x38, 0xa0, 0xa0});
    EXPECT_EQ(name.Ascii() + name.Unicode(), "gameGAME");  // a name ends at its first shifted space
    EXPECT_TRUE(petscii::TrimPadding(Bytes{0xa0, 0x41}).empty());
    EXPECT_EQ(petscii::TrimPadding(Bytes{0x41, 0x42}).size(), 2u);
    // The program's own text in the C64 face (names: the window's test reads them back from the screen).
    using petscii::CharSet;
    EXPECT_EQ(petscii::AsciiToC64Face("Blocks free: [664]{", CharSet::UpperCase), "BLOCKS FREE: [664]?");
    EXPECT_EQ(petscii::AsciiToC64Face("Blocks free: [664]{", CharSet::LowerCase), "Blocks free: [664]?");
}

}  // namespace
}  // namespace floppex
