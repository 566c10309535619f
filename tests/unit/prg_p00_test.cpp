// Program files: PRGs made by cl65 and petcat, a PC64 file made by cbmconvert
// (tests/fixtures/images.sh), and hand-made broken ones.
#include <gtest/gtest.h>

#include <cstring>

#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/size_text.h"
#include "fixture_files.h"

namespace floppex {
namespace {

using testing::FixtureDir;
using testing::ReadBytes;

TEST(PrgFile, ReadsLoadAddressAndSizeOfRealPrograms) {
    struct Case { const char* name; const char* hex; const char* dec; };
    for (const Case& c : {Case{"hello.prg", "$0801", "2049"}, Case{"basic.prg", "$0801", "2049"},
                          Case{"border_c000.prg", "$C000", "49152"}, Case{"big.prg", "$1000", "4096"},
                          Case{"tiny.prg", "$0801", "2049"}}) {
        SCOPED_TRACE(c.name);
        PrgFile prg;
        ASSERT_TRUE(prg.Open(FixtureDir("images") / c.name)) << prg.Error();
        EXPECT_EQ(prg.AddressText1(), c.hex);
        EXPECT_EQ(prg.AddressText2(), c.dec);
        EXPECT_EQ(prg.Size(), ReadBytes(FixtureDir("images") / c.name).size());
    }
    PrgFile big;
    ASSERT_TRUE(big.Open(FixtureDir("images") / "big.prg"));
    EXPECT_EQ(big.SizeText(), "9.8");  // 10002 bytes
}

TEST(PrgFile, NeedsTheLoadAddressAndAFileOfSaneSize) {
    PrgFile prg;
    EXPECT_FALSE(prg.Load({}));
    EXPECT_FALSE(prg.Load(std::vector<uint8_t>{0x01}));
    EXPECT_FALSE(prg.Error().empty());
    EXPECT_FALSE(prg.Load(std::vector<uint8_t>(PrgFile::kMaxFileSize + 1, 0)));
    ASSERT_TRUE(prg.Load(std::vector<uint8_t>{0xff, 0xff}));
    EXPECT_EQ(prg.AddressText1(), "$FFFF");
    EXPECT_EQ(prg.AddressText2(), "65535");
    EXPECT_EQ(prg.SizeText(), "0.0");

    testing::ScratchDir dir("prg");
    EXPECT_FALSE(prg.Open(dir.Path() / "missing.prg"));
    EXPECT_FALSE(prg.Error().empty());
    testing::WriteBytes(dir.Path() / "empty.prg", {});
    EXPECT_FALSE(prg.Open(dir.Path() / "empty.prg"));
}

// Names outside the ANSI code page reach the file system intact.
TEST(PrgFile, OpensFilesWithNonAsciiNames) {
    testing::ScratchDir dir("prg-names");
    const auto path = dir.Path() / std::filesystem::path(u8"Spiél ゲーム.prg");
    testing::WriteBytes(path, {0x00, 0xc0, 0x60});
    PrgFile prg;
    ASSERT_TRUE(prg.Open(path)) << prg.Error();
    EXPECT_EQ(prg.AddressText1(), "$C000");
}

TEST(SizeText, KilobytesWithOneDecimalRoundedHalfUp) {
    const std::pair<size_t, const char*> cases[] = {{0, "0.0"},       {51, "0.0"},   {52, "0.1"},
                                                    {1024, "1.0"},    {1075, "1.0"}, {1076, "1.1"},
                                                    {65538, "64.0"},  {16777216, "16384.0"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(KilobyteText(bytes), text) << bytes;
}

TEST(P00File, ReadsNameAndProgramOfCbmconvertFile) {
    P00File p00;
    ASSERT_TRUE(p00.Open(FixtureDir("images") / "hellogam.p00")) << p00.Error();
    EXPECT_EQ(p00.Name().Ascii(), "hello game");
    EXPECT_EQ(p00.Name().Unicode(), "HELLO GAME");
    const auto prg = ReadBytes(FixtureDir("images") / "hello.prg");
    EXPECT_EQ(p00.DataSize(), prg.size());
    EXPECT_EQ(p00.LoadAddress(), 0x0801);
    EXPECT_EQ(p00.SizeText(), KilobyteText(prg.size()));
}

std::vector<uint8_t> PcFile(const std::vector<uint8_t>& name16, size_t programSize) {
    std::vector<uint8_t> b = {'C', '6', '4', 'F', 'i', 'l', 'e', 0};
    b.insert(b.end(), name16.begin(), name16.end());
    b.resize(26, 0);
    for (size_t i = 0; i < programSize; ++i) b.push_back(static_cast<uint8_t>(i == 1 ? 0x20 : i));
    return b;
}

TEST(P00File, NamePaddedWithZerosOrShiftedSpaces) {
    P00File p00;
    std::vector<uint8_t> name = {0x47, 0x41, 0x4d, 0x45};
    name.resize(16, 0);
    ASSERT_TRUE(p00.Load(PcFile(name, 2)));
    EXPECT_EQ(p00.Name().Ascii(), "game");
    EXPECT_EQ(p00.LoadAddress(), 0x2000);
    EXPECT_EQ(p00.DataSize(), 2u);
    std::fill(name.begin() + 4, name.end(), 0xa0);
    ASSERT_TRUE(p00.Load(PcFile(name, 10)));
    EXPECT_EQ(p00.Name().Ascii(), "game");
    std::fill(name.begin(), name.end(), 0x41);  // all 16 used
    ASSERT_TRUE(p00.Load(PcFile(name, 10)));
    EXPECT_EQ(p00.Name().Ascii(), std::string(16, 'a'));
}

TEST(P00File, RejectsBadSignatureAndTruncation) {
    const std::vector<uint8_t> name(16, 0x41);
    P00File p00;
    auto bad = PcFile(name, 10);
    bad[7] = ' ';
    EXPECT_FALSE(p00.Load(bad));
    EXPECT_FALSE(p00.Error().empty());
    bad = PcFile(name, 10);
    bad[0] = 'c';
    EXPECT_FALSE(p00.Load(bad));
    for (size_t size : {0, 7, 8, 25, 26, 27}) {
        auto cut = PcFile(name, 10);
        cut.resize(size);
        EXPECT_FALSE(p00.Load(cut)) << size;
    }
    EXPECT_FALSE(p00.Load(ReadBytes(FixtureDir("images") / "hello.prg")));
    testing::ScratchDir dir("p00");
    EXPECT_FALSE(p00.Open(dir.Path() / "missing.p00"));
}

}  // namespace
}  // namespace floppex
