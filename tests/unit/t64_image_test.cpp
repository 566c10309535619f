// T64 tape images: three.t64 with its programs extracted again by cbmconvert
// (tests/fixtures/images.sh), and faulty tapes from the generator in t64_tapes.h.
#include <gtest/gtest.h>

#include <cstring>

#include "c64/t64_image.h"
#include "fixture_files.h"
#include "t64_tapes.h"

namespace floppex {
namespace {

using namespace testing::t64;

std::vector<uint8_t> Data(size_t size, uint8_t seed) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(seed + i * 7);
    return data;
}

std::vector<TapeFile> ThreeFiles() {
    return {{"FIRST", 0x0801, Data(300, 1)}, {"SECOND", 0x1000, Data(5000, 2)}, {"THIRD", 0xc000, Data(17, 3)}};
}

TEST(T64Image, ProgramDataEqualsWhatCbmconvertExtracts) {
    const auto dir = testing::FixtureDir("images");
    T64Image image;
    ASSERT_TRUE(image.Open(dir / "three.t64")) << image.Error();
    EXPECT_EQ(image.HeaderText1(), "FIXTURE TAPE");
    EXPECT_EQ(image.HeaderText2(), "C64S tape image file");
    EXPECT_EQ(image.HeaderNumber1(), 3);
    EXPECT_EQ(image.HeaderNumber2(), 3);
    ASSERT_EQ(image.Entries().Count(), 3);
    int32_t n = 1;
    for (const auto& entry : image.Entries()) {
        EXPECT_EQ(&image.Entries().Item(n), &entry);
        SCOPED_TRACE(entry.Name().Ascii());
        const auto extracted = testing::ReadBytes(dir / "tape" / (entry.Name().Ascii() + ".prg"));
        ASSERT_FALSE(extracted.empty());
        EXPECT_EQ(image.ProgramData(static_cast<size_t>(n++)), extracted);
    }
    EXPECT_EQ(image.Entries().Item(2).Name().Unicode(), "BASIC LOOP");
    EXPECT_TRUE(image.ProgramData(0).empty());
    EXPECT_TRUE(image.ProgramData(4).empty());
}

// Signatures vary; the used-entries count and the maximum are often 0 or wrong. Entries are
// counted among the slots, free slots passed over.
TEST(T64Image, ToleratesHeaderFaults) {
    struct Case { uint16_t maximum; int used; const char* signature; };
    for (const Case& c : {Case{30, 3, "C64 tape image file"}, Case{30, 3, "C64S tape file"}, Case{30, 3, "C64 TAPE"},
                          Case{30, 0, "C64S tape image file"}, Case{30, 65535, "C64S tape image file"},
                          Case{3, 1, "C64S tape image file"}, Case{0, 0, "C64S tape image file"},
                          Case{65535, 3, "C64S tape image file"}}) {
        SCOPED_TRACE(std::string(c.signature) + " maximum " + std::to_string(c.maximum) + " used " + std::to_string(c.used));
        auto files = ThreeFiles();
        const size_t slots = c.maximum == 0 ? 1 : std::min<size_t>(c.maximum, 30);
        if (slots < 3) files.resize(slots);
        auto bytes = Tape(files, static_cast<uint16_t>(slots), c.used, c.signature);
        bytes[0x22] = static_cast<uint8_t>(c.maximum);
        bytes[0x23] = static_cast<uint8_t>(c.maximum >> 8);
        T64Image image;
        ASSERT_TRUE(image.Load(bytes)) << image.Error();
        ASSERT_EQ(image.Entries().Count(), files.size());
        EXPECT_EQ(image.HeaderNumber1(), static_cast<int32_t>(files.size()));
        EXPECT_EQ(image.ProgramData(files.size()), Prg(files.back()));
    }

    auto gap = ThreeFiles();
    gap[1].entryType = 0;
    T64Image image;
    ASSERT_TRUE(image.Load(Tape(gap)));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(2).Name().Ascii(), "third");
    EXPECT_EQ(image.ProgramData(2), Prg(gap[2]));
}

// Wrong end addresses ($C3C6 from old converters) follow from where the next file's data starts,
// in offset order, or for the last file from the end of the image; padding after the last file
// does not lengthen it. A slot whose data lies outside the file is no entry.
TEST(T64Image, CorrectsEndAddressesFromDataOffsets) {
    auto files = ThreeFiles();
    for (auto& f : files) f.end = 0xc3c6;
    T64Image image;
    ASSERT_TRUE(image.Load(Tape(files)));
    for (size_t n = 1; n <= 3; ++n) EXPECT_EQ(image.ProgramData(n), Prg(files[n - 1])) << n;

    auto padded = Tape(ThreeFiles());
    padded.resize(padded.size() + 1000, 0);
    ASSERT_TRUE(image.Load(padded));
    EXPECT_EQ(image.ProgramData(3), Prg(ThreeFiles()[2]));
    padded[64 + 64 + 4] = 0xff;  // third file's end: $FFFF, far beyond the image
    padded[64 + 64 + 5] = 0xff;
    ASSERT_TRUE(image.Load(padded));
    EXPECT_EQ(image.ProgramData(3).size(), 2u + 17 + 1000);

    const size_t dataStart = 64 + 32 * 3;
    const auto a = Data(50, 4), b = Data(70, 5);
    auto shuffled = Tape({{"LATER", 0x0801, b, 0xc3c6, static_cast<int>(dataStart + a.size())},
                          {"EARLIER", 0x0801, a, 0xc3c6, static_cast<int>(dataStart)},
                          {"NOWHERE", 0x0801, a, -1, 1 << 20}},
                         3);
    shuffled.insert(shuffled.end(), a.begin(), a.end());
    shuffled.insert(shuffled.end(), b.begin(), b.end());
    ASSERT_TRUE(image.Load(shuffled));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(1).Name().Ascii(), "later");
    EXPECT_EQ(image.ProgramData(1), Prg({"", 0x0801, b}));
    EXPECT_EQ(image.ProgramData(2), Prg({"", 0x0801, a}));
}

TEST(T64Image, RejectsWhatIsNoTape) {
    T64Image image;
    const auto good = Tape(ThreeFiles());
    EXPECT_FALSE(image.Load({}));
    EXPECT_FALSE(image.Load(std::vector<uint8_t>(good.begin(), good.begin() + 63)));
    for (const char* signature : {"c64 tape image file", "T64 tape", "C6"}) {
        EXPECT_FALSE(image.Load(Tape(ThreeFiles(), 30, -1, signature))) << signature;
        EXPECT_FALSE(image.Error().empty());
        EXPECT_EQ(image.Entries().Count(), 0);
    }
    // A bare header is an empty tape.
    ASSERT_TRUE(image.Load(std::vector<uint8_t>(good.begin(), good.begin() + 64)));
    EXPECT_EQ(image.Entries().Count(), 0);

    testing::ScratchDir dir("t64");
    EXPECT_FALSE(image.Open(dir.Path() / "missing.t64"));
    EXPECT_FALSE(image.Error().empty());
}

}  // namespace
}  // namespace floppex
