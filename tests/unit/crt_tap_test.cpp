// Cartridges made by VICE's cartconv, read and listed as `cartconv -f` lists them, and raw tapes written by tap.py from
// cl65 and petcat programs (tests/fixtures/crt_tap.sh); faults patched in at the documented offsets.
#include "c64/crt_file.h"
#include "c64/listing_text.h"
#include "c64/tap_file.h"
#include "fixtures.h"

namespace floppex {
namespace {

using namespace testing;

fs::path Fixture(const std::string& name) { return FixtureDir("crt_tap") / name; }
void PutBe(Bytes& b, size_t at, uint32_t v, int size) { for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * (size - 1 - i))); }

TEST(CrtFile, ListingEqualsCartconvForEveryFixtureAndPacketsThatDoNotFitAreTold) {
    int compared = 0;
    for (const auto& file : fs::directory_iterator(FixtureDir("crt_tap"))) {
        if (file.path().extension() != ".crt") continue;
        CrtFile crt;
        ASSERT_TRUE(crt.Open(file.path())) << file.path() << ": " << crt.Error();
        EXPECT_EQ(CartconvListing(crt), ReadText(file.path().string() + ".info")) << file.path();
        EXPECT_EQ(crt.Problem(), "") << file.path();
        ++compared;
    }
    EXPECT_EQ(compared, 6);
    // Ocean: four packets of 8 KiB ($2010 bytes each) after a header of $40. Packets that do not
    // fit end the list with a reason; those before are listed.
    const Bytes ocean = ReadBytes(Fixture("ocean.crt"));
    constexpr size_t kPacket = 0x2010, k2 = 0x40 + kPacket;
    const Bytes empty{'C', 'H', 'I', 'P', 0, 0, 0, 16, 0, 0, 0, 1, 0x80, 0, 0, 0};
    const std::pair<std::function<void(Bytes&)>, size_t> cases[] = {
        {[](Bytes& b) { PutBe(b, 0x10, 0x50, 4), b.insert(b.begin() + 0x40, 16, 0xff); }, 4},  // longer header: all
        {[](Bytes& b) { b.resize(k2 + kPacket + 100); }, 2},  {[](Bytes& b) { PutBe(b, k2 + 4, 0, 4); }, 1},
        {[](Bytes& b) { PutBe(b, k2 + 4, ~0u, 4); }, 1},     {[](Bytes& b) { PutBe(b, 0x40 + 14, 0x2001, 2); }, 0},
        {[](Bytes& b) { b.insert(b.end(), 20, 0); }, 4},
        {[&](Bytes& b) { for (b.resize(0x40); b.size() < 0x40 + 5000 * 16;) b.insert(b.end(), empty.begin(), empty.end()); },
         CrtFile::kMaxChips}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Bytes bytes = ocean;
        cases[i].first(bytes);
        CrtFile crt;
        ASSERT_TRUE(crt.Load(bytes)) << i << ": " << crt.Error();
        EXPECT_EQ(crt.Chips().size(), cases[i].second) << i;
        EXPECT_EQ(crt.Problem().empty(), i == 0) << i << ": " << crt.Problem();
        EXPECT_EQ(crt.HeaderText1() + "|" + crt.HeaderText2(), "OCEAN BANKS|Ocean (5)") << i;
        if (cases[i].second > 1) EXPECT_EQ(crt.Chips()[1].bank, 1u) << i;
    }
    for (auto [at, value] : {std::pair<size_t, uint32_t>{0x10, 0x3f}, {0x10, 0x10000}, {0, 'c'}}) {
        Bytes bytes = ocean;
        PutBe(bytes, at, value, at ? 4 : 1);
        CrtFile crt;
        EXPECT_FALSE(crt.Load(bytes) || crt.Error().empty() || !crt.Chips().empty()) << at << " " << value;
    }
}

// What tap.py was given, "name=file.prg" and the header type: names, load addresses, lengths.
void ExpectPrograms(const TapFile& tap, std::vector<std::pair<std::string, uint8_t>> saved) {
    ASSERT_EQ(tap.Programs().size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        const TapeProgram& p = tap.Programs()[i];
        const std::string name = saved[i].first.substr(0, saved[i].first.find('='));
        const Bytes prg = ReadBytes(Fixture(saved[i].first.substr(name.size() + 1)));
        EXPECT_EQ(p.Name().Ascii() + " " + std::to_string(p.type), name + " " + std::to_string(saved[i].second));
        EXPECT_EQ(p.startAddress, prg[0] | prg[1] << 8) << name;
        EXPECT_TRUE(p.DataSize() == prg.size() - 2 && p.dataFound) << name;
    }
}

TEST(TapFile, DecodesTheKernalsHeadersOnCleanWornAndNoisyTapesRefusesWhatIsNoTape) {
    TapFile tap;
    ASSERT_TRUE(tap.Open(Fixture("programs.tap"))) << tap.Error();
    EXPECT_EQ(tap.HeaderText1() + "|" + tap.HeaderText2() + "|" + tap.Problem(), "programs|C64-TAPE-RAW version 1|");
    ExpectPrograms(tap, {{"hello=hello.prg", 1}, {"basic loop=basic.prg", 1}, {"border=border_c000.prg", 3}});
    ASSERT_TRUE(tap.Open(Fixture("worn.tap")) && tap.Version() == 0) << tap.Error();  // 12% slow, jitter, noise first
    ExpectPrograms(tap, {{"basic loop=basic.prg", 1}, {"border=border_c000.prg", 3}});
    ASSERT_TRUE(tap.Open(Fixture("turbo.tap"))) << tap.Error();
    EXPECT_TRUE(tap.Programs().empty() && tap.Problem().empty() && tap.FileSize() == fs::file_size(Fixture("turbo.tap")));
    ASSERT_TRUE(tap.Open(Fixture("lying.tap")) && tap.StatedLength() == 100) << tap.Error();
    ExpectPrograms(tap, {{"hello=hello.prg", 1}});
    EXPECT_NE(tap.Problem().find("100"), std::string::npos) << tap.Problem();
    ASSERT_TRUE(tap.Open(Fixture("largest.tap"))) << tap.Error();  // a data block of 65535 bytes
    ExpectPrograms(tap, {{"largest=largest.prg", 3}});
    // The first copies of header and data spoilt: the repeats still read. After the file header and
    // a pause come the header's pilot and copies (20 pulses a byte) with gap and trailer.
    Bytes spoilt = ReadBytes(Fixture("lying.tap"));
    const size_t header = 24 + 0x6A00 + 200, data = 24 + 0x6A00 + 2 * (202 * 20 + 2) + 79 + 78 + 0x1A00 + 300;
    std::fill_n(spoilt.begin() + static_cast<std::ptrdiff_t>(header), 50, 0x30);
    std::fill_n(spoilt.begin() + static_cast<std::ptrdiff_t>(data), 50, 0x56);
    ASSERT_TRUE(tap.Load(spoilt));
    ExpectPrograms(tap, {{"hello=hello.prg", 1}});
    EXPECT_GT(tap.Programs()[0].offset, header);

    // What is no tape is refused, and the work is bounded.
    const Bytes good = ReadBytes(Fixture("programs.tap"));
    Bytes c16 = good, v3 = good, v2 = good;
    c16[1] = '1', v3[12] = 3, v2[12] = 2;
    for (const auto& [bytes, reason] : std::vector<std::pair<Bytes, std::string>>{
             {{}, "empty"}, {Bytes(good.begin(), good.begin() + 19), "too short"}, {c16, "signature"},
             {v3, "version 3"}, {Bytes(TapFile::kMaxFileSize + 1, 0x30), "too large"}}) {
        EXPECT_FALSE(tap.Load(bytes));
        EXPECT_NE(tap.Error().find(reason), std::string::npos) << tap.Error();
    }
    EXPECT_TRUE(tap.Load(v2) && tap.Programs().empty() && !tap.Problem().empty());  // half waves: not decoded
    ScratchDir dir("tap");
    WriteBytes(dir.Path() / "huge.tap", good);
    fs::resize_file(dir.Path() / "huge.tap", uintmax_t{1} << 30);  // sparse: refused by its size, never read
    EXPECT_FALSE(tap.Open(dir.Path() / "huge.tap"));
    EXPECT_NE(tap.Error().find("1073741824 bytes"), std::string::npos) << tap.Error();
}

}  // namespace
}  // namespace floppex
