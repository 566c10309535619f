// T64 tape images built by a small generator from the published layout: a 64-byte header
// (signature, version, maximum and used entries, tape name), 32-byte directory slots, then data.
#include <gtest/gtest.h>

#include <cstring>

#include "c64/t64_image.h"
#include "fixture_files.h"

namespace floppex {
namespace {

struct TapeFile {
    std::string name;          // ASCII upper case is PETSCII upper case
    uint16_t start = 0x0801;
    std::vector<uint8_t> data;
    uint8_t entryType = 1, fileType = 0x82;
    int endOverride = -1;      // a wrong end address as old converters wrote
    int offsetOverride = -1;
};

struct Tape {
    std::string signature = "C64S tape image file";
    std::string tapeName = "FLOPPEX TAPE";
    uint16_t maximum = 30;
    int usedOverride = -1;
    std::vector<TapeFile> files;  // in slot order; data laid out in that order after the slots
    size_t padding = 0;           // bytes after the last data

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> b(64 + 32 * size_t{maximum}, 0);
        std::memcpy(b.data(), signature.data(), std::min<size_t>(signature.size(), 32));
        b[0x20] = 0x01; b[0x21] = 0x01;
        Put16(b, 0x22, maximum);
        Put16(b, 0x24, static_cast<uint16_t>(usedOverride >= 0 ? usedOverride : static_cast<int>(files.size())));
        std::memset(b.data() + 0x28, 0x20, 24);
        std::memcpy(b.data() + 0x28, tapeName.data(), std::min<size_t>(tapeName.size(), 24));
        for (size_t i = 0; i < files.size(); ++i) {
            const TapeFile& f = files[i];
            const size_t slot = 64 + 32 * i;
            const size_t offset = f.offsetOverride >= 0 ? static_cast<size_t>(f.offsetOverride) : b.size();
            b[slot] = f.entryType;
            b[slot + 1] = f.fileType;
            Put16(b, slot + 2, f.start);
            Put16(b, slot + 4, static_cast<uint16_t>(f.endOverride >= 0 ? f.endOverride : f.start + f.data.size()));
            Put32(b, slot + 8, static_cast<uint32_t>(offset));
            std::memset(b.data() + slot + 16, 0x20, 16);
            std::memcpy(b.data() + slot + 16, f.name.data(), std::min<size_t>(f.name.size(), 16));
            if (f.offsetOverride < 0) b.insert(b.end(), f.data.begin(), f.data.end());
        }
        b.resize(b.size() + padding, 0);
        return b;
    }

    static void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    static void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

std::vector<uint8_t> Program(size_t size, uint8_t seed) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(seed + i * 7);
    return data;
}

std::vector<uint8_t> Prg(uint16_t start, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> prg{static_cast<uint8_t>(start), static_cast<uint8_t>(start >> 8)};
    prg.insert(prg.end(), data.begin(), data.end());
    return prg;
}

Tape ThreeFiles() {
    Tape t;
    t.files = {{"FIRST GAME", 0x0801, Program(300, 1)},
               {"SECOND", 0x1000, Program(5000, 2)},
               {"THIRD", 0xc000, Program(17, 3)}};
    return t;
}

TEST(T64Image, ReadsHeaderEntriesAndPrograms) {
    const Tape tape = ThreeFiles();
    T64Image image;
    ASSERT_TRUE(image.Load(tape.Bytes())) << image.Error();
    EXPECT_EQ(image.HeaderText1(), "FLOPPEX TAPE");
    EXPECT_EQ(image.HeaderText2(), "C64S tape image file");
    EXPECT_EQ(image.HeaderNumber1(), 3);
    EXPECT_EQ(image.HeaderNumber2(), 30);
    ASSERT_EQ(image.Entries().Count(), 3);
    int32_t n = 1;
    for (const auto& e : image.Entries()) {
        const TapeFile& f = tape.files[static_cast<size_t>(n - 1)];
        EXPECT_EQ(&image.Entries().Item(n), &e);
        EXPECT_EQ(e.Name().Ascii(), [&] { std::string s = f.name; for (auto& c : s) c = static_cast<char>(std::tolower(c)); return s; }());
        EXPECT_EQ(e.Name().Unicode(), f.name);
        EXPECT_EQ(image.ProgramData(static_cast<size_t>(n)), Prg(f.start, f.data));
        ++n;
    }
    EXPECT_TRUE(image.ProgramData(0).empty());
    EXPECT_TRUE(image.ProgramData(4).empty());
}

// three.t64 holds three cl65/petcat programs; cbmconvert extracted them again into tape/.
TEST(T64Image, ProgramDataEqualsWhatCbmconvertExtracts) {
    const auto dir = testing::FixtureDir("images");
    T64Image image;
    ASSERT_TRUE(image.Open(dir / "three.t64")) << image.Error();
    EXPECT_EQ(image.HeaderText1(), "FIXTURE TAPE");
    ASSERT_EQ(image.Entries().Count(), 3);
    for (int32_t n = 1; n <= 3; ++n) {
        const std::string name = image.Entries().Item(n).Name().Ascii();
        SCOPED_TRACE(name);
        const auto extracted = testing::ReadBytes(dir / "tape" / (name + ".prg"));
        ASSERT_FALSE(extracted.empty());
        EXPECT_EQ(image.ProgramData(static_cast<size_t>(n)), extracted);
    }
}

TEST(T64Image, AcceptsSignatureVariants) {
    for (const char* sig : {"C64 tape image file", "C64S tape file", "C64S tape image file", "C64 TAPE  "}) {
        Tape tape = ThreeFiles();
        tape.signature = sig;
        T64Image image;
        EXPECT_TRUE(image.Load(tape.Bytes())) << sig;
        EXPECT_EQ(image.Entries().Count(), 3) << sig;
    }
    for (const char* sig : {"", "c64 tape image file", "T64 tape", "C6"}) {
        Tape tape = ThreeFiles();
        tape.signature = sig;
        T64Image image;
        EXPECT_FALSE(image.Load(tape.Bytes())) << sig;
        EXPECT_FALSE(image.Error().empty());
    }
}

// The used-entries field is not trusted: the entries are counted among the slots.
TEST(T64Image, CountsRealEntriesWhateverTheHeaderSays) {
    for (int used : {0, 1, 2, 7, 30, 65535}) {
        Tape tape = ThreeFiles();
        tape.usedOverride = used;
        T64Image image;
        ASSERT_TRUE(image.Load(tape.Bytes())) << used;
        EXPECT_EQ(image.Entries().Count(), 3) << used;
        EXPECT_EQ(image.HeaderNumber1(), 3) << used;
    }
    // A free slot between two files is passed over.
    Tape gap = ThreeFiles();
    gap.files[1].entryType = 0;
    T64Image image;
    ASSERT_TRUE(image.Load(gap.Bytes()));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(2).Name().Ascii(), "third");
    EXPECT_EQ(image.ProgramData(2), Prg(0xc000, gap.files[2].data));
}

// Some images claim no slots at all, or far more than the file holds.
TEST(T64Image, MaximumOfZeroOrTooManySlots) {
    Tape one;
    one.maximum = 1;
    one.files = {{"ONLY", 0x0801, Program(100, 9)}};
    auto bytes = one.Bytes();
    bytes[0x22] = 0;  // maximum 0
    T64Image image;
    ASSERT_TRUE(image.Load(bytes));
    ASSERT_EQ(image.Entries().Count(), 1);
    EXPECT_EQ(image.ProgramData(1), Prg(0x0801, one.files[0].data));

    bytes[0x22] = 0xff;  // 65535 slots in a file of a few hundred bytes
    bytes[0x23] = 0xff;
    ASSERT_TRUE(image.Load(bytes));
    EXPECT_EQ(image.Entries().Count(), 1);
}

// End addresses written wrong ($C3C6 by old converters) follow from where the next file's data
// starts, or for the last file from the end of the image.
TEST(T64Image, CorrectsWrongEndAddresses) {
    Tape tape = ThreeFiles();
    for (auto& f : tape.files) f.endOverride = 0xc3c6;
    T64Image image;
    ASSERT_TRUE(image.Load(tape.Bytes()));
    for (size_t n = 1; n <= 3; ++n) {
        const TapeFile& f = tape.files[n - 1];
        EXPECT_EQ(image.Entries().Item(static_cast<int32_t>(n)).endAddress, static_cast<uint16_t>(f.start + f.data.size()));
        EXPECT_EQ(image.ProgramData(n), Prg(f.start, f.data));
    }

    // Padding after the last file: a right end address is kept, a wrong one cut to the file.
    Tape padded = ThreeFiles();
    padded.padding = 1000;
    ASSERT_TRUE(image.Load(padded.Bytes()));
    EXPECT_EQ(image.ProgramData(3), Prg(0xc000, padded.files[2].data));
    padded.files[2].endOverride = 0xffff;
    const auto bytes = padded.Bytes();
    ASSERT_TRUE(image.Load(bytes));
    const size_t lastOffset = bytes.size() - 1000 - 17;
    EXPECT_EQ(image.ProgramData(3).size(), 2 + (bytes.size() - lastOffset));
}

// Slots in another order than their data, and a slot whose data lies outside the file.
TEST(T64Image, EntriesOutOfDataOrderAndDataOutsideTheFile) {
    Tape tape;
    tape.maximum = 3;
    const size_t dataStart = 64 + 32 * 3;
    const auto a = Program(50, 4), b = Program(70, 5);
    tape.files = {{"LATER", 0x0801, b, 1, 0x82, 0xc3c6, static_cast<int>(dataStart + a.size())},
                  {"EARLIER", 0x0801, a, 1, 0x82, 0xc3c6, static_cast<int>(dataStart)},
                  {"NOWHERE", 0x0801, a, 1, 0x82, -1, 1 << 20}};
    auto bytes = tape.Bytes();
    bytes.insert(bytes.end(), a.begin(), a.end());
    bytes.insert(bytes.end(), b.begin(), b.end());
    T64Image image;
    ASSERT_TRUE(image.Load(bytes));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(1).Name().Ascii(), "later");
    EXPECT_EQ(image.ProgramData(1), Prg(0x0801, b));
    EXPECT_EQ(image.ProgramData(2), Prg(0x0801, a));
}

TEST(T64Image, RejectsShortAndMissingFiles) {
    const auto good = ThreeFiles().Bytes();
    T64Image image;
    EXPECT_FALSE(image.Load(std::vector<uint8_t>(good.begin(), good.begin() + 63)));
    EXPECT_FALSE(image.Load({}));

    testing::ScratchDir dir("t64");
    EXPECT_FALSE(image.Open(dir.Path() / "missing.t64"));
    testing::WriteBytes(dir.Path() / "tape.t64", good);
    ASSERT_TRUE(image.Open(dir.Path() / "tape.t64"));
    EXPECT_EQ(image.Entries().Count(), 3);
    // Header only: a tape without entries is still a tape.
    testing::WriteBytes(dir.Path() / "bare.t64", std::vector<uint8_t>(good.begin(), good.begin() + 64));
    ASSERT_TRUE(image.Open(dir.Path() / "bare.t64"));
    EXPECT_EQ(image.Entries().Count(), 0);
}

}  // namespace
}  // namespace floppex
