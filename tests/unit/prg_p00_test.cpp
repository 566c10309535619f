// Program files: PRGs made by cl65 and petcat, PC64 files made by cbmconvert
// (tests/fixtures/images.sh), and hand-made broken ones.
#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/size_text.h"
#include "fixtures.h"

namespace floppex {
namespace {

using namespace testing;

fs::path Image(const std::string& name) { return FixtureDir("images") / name; }

TEST(PrgFile, ReadsLoadAddressAndSizeOfRealPrograms) {
    const struct { const char *name, *hex, *dec, *kilobytes; } cases[] = {
        {"hello.prg", "$0801", "2049", nullptr}, {"basic.prg", "$0801", "2049", nullptr},
        {"border_c000.prg", "$C000", "49152", nullptr}, {"big.prg", "$1000", "4096", "9.8"},  // 10002 bytes
        {"tiny.prg", "$0801", "2049", "0.0"}};
    for (const auto& c : cases) {
        PrgFile prg;
        ASSERT_TRUE(prg.Open(Image(c.name))) << c.name << ": " << prg.Error();
        EXPECT_EQ(prg.AddressText1(), c.hex) << c.name;
        EXPECT_EQ(prg.AddressText2(), c.dec) << c.name;
        EXPECT_EQ(prg.Size(), fs::file_size(Image(c.name))) << c.name;
        if (c.kilobytes) EXPECT_EQ(prg.SizeText(), c.kilobytes) << c.name;
    }
    // Names outside the ANSI code page reach the file system intact.
    ScratchDir dir("prg");
    const auto path = dir.Path() / fs::path(u8"Spiél ゲーム.prg");
    WriteBytes(path, Bytes{0xff, 0xff});
    PrgFile prg;
    ASSERT_TRUE(prg.Open(path)) << prg.Error();
    EXPECT_EQ(prg.AddressText1() + prg.AddressText2(), "$FFFF65535");
}

TEST(PrgFile, NeedsTheLoadAddressAndAFileOfSaneSize) {
    PrgFile prg;
    for (const Bytes& bad : {Bytes{}, Bytes{0x01}, Bytes(PrgFile::kMaxFileSize + 1, 0)}) {
        EXPECT_FALSE(prg.Load(bad)) << bad.size();
        EXPECT_FALSE(prg.Error().empty());
    }
    EXPECT_FALSE(prg.Open(Image("missing.prg")));
    EXPECT_FALSE(prg.Error().empty());
}

TEST(SizeText, KilobytesWithOneDecimalRoundedHalfUp) {
    const std::pair<size_t, const char*> cases[] = {{0, "0.0"},    {51, "0.0"},   {52, "0.1"},     {1024, "1.0"},
                                                    {1075, "1.0"}, {1076, "1.1"}, {65538, "64.0"}, {16777216, "16384.0"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(KilobyteText(bytes), text) << bytes;
}

TEST(P00File, ReadsNameAndProgramOfCbmconvertFiles) {
    const struct { const char *file, *ascii, *unicode, *program; } cases[] = {
        {"hellogam.p00", "hello game", "HELLO GAME", "hello.prg"}, {"pc64/b254.p00", "b254", "B254", "b254.prg"}};
    for (const auto& c : cases) {
        P00File p00;
        ASSERT_TRUE(p00.Open(Image(c.file))) << c.file << ": " << p00.Error();
        EXPECT_EQ(p00.Name().Ascii(), c.ascii);
        EXPECT_EQ(p00.Name().Unicode(), c.unicode);
        const auto prg = ReadBytes(Image(c.program));
        EXPECT_EQ(p00.DataSize(), prg.size());
        EXPECT_EQ(p00.LoadAddress(), prg[0] | prg[1] << 8);
        EXPECT_EQ(p00.SizeText(), KilobyteText(prg.size()));
    }
}

// The name: 16 bytes padded with zeros or shifted spaces, or all 16 used; a bad signature or a
// file cut short is refused.
TEST(P00File, ReadsHandMadeFilesAndRefusesBrokenOnes) {
    const auto pcFile = [](std::vector<uint8_t> name, size_t programSize, uint8_t pad = 0) {
        Bytes b = {'C', '6', '4', 'F', 'i', 'l', 'e', 0};
        name.resize(16, pad);
        b.insert(b.end(), name.begin(), name.end());
        b.resize(26, 0);
        for (size_t i = 0; i < programSize; ++i) b.push_back(static_cast<uint8_t>(i == 1 ? 0x20 : i));
        return b;
    };
    const Bytes game = {0x47, 0x41, 0x4d, 0x45};
    P00File p00;
    for (const Bytes& good : {pcFile(game, 2), pcFile(game, 10, 0xa0)}) {
        ASSERT_TRUE(p00.Load(good));
        EXPECT_EQ(p00.Name().Ascii(), "game");
        EXPECT_EQ(p00.LoadAddress(), 0x2000);
        EXPECT_EQ(p00.DataSize(), good.size() - 26);
    }
    ASSERT_TRUE(p00.Load(pcFile(Bytes(16, 0x41), 10)));
    EXPECT_EQ(p00.Name().Ascii(), std::string(16, 'a'));
    std::vector<Bytes> bad = {pcFile(game, 10), pcFile(game, 10), ReadBytes(Image("hello.prg"))};
    bad[0][7] = ' ';
    bad[1][0] = 'c';
    for (size_t size : {0, 7, 8, 25, 26, 27}) bad.emplace_back(pcFile(game, 10)).resize(size);
    for (const Bytes& b : bad) {
        EXPECT_FALSE(p00.Load(b)) << b.size();
        EXPECT_FALSE(p00.Error().empty());
    }
    EXPECT_FALSE(p00.Open(Image("missing.p00")));
}

}  // namespace
}  // namespace floppex
