// T64 tapes: three.t64, written by tests/fixtures/t64.py from three programs that cbmconvert
// extracts from it again, and faulty tapes made from it by changing bytes at the documented offsets.
#include <cstring>

#include "c64/t64_image.h"
#include "fixtures.h"

namespace floppex {
namespace {

using namespace testing;

Bytes Tape() { return ReadBytes(FixtureDir("images") / "three.t64"); }
Bytes Program(size_t n) {
    const char* names[] = {"hello.prg", "basic.prg", "border_c000.prg"};
    return ReadBytes(FixtureDir("images") / names[n - 1]);
}
Bytes WithStart(Bytes prg, const Bytes& from) { prg[0] = from[0], prg[1] = from[1]; return prg; }
void Put(Bytes& b, size_t at, uint32_t v, int size = 2) {
    for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
constexpr size_t Slot(size_t n) { return 64 + 32 * (n - 1); }

TEST(T64Image, ProgramDataEqualsWhatCbmconvertExtracts) {
    T64Image image;
    ASSERT_TRUE(image.Open(FixtureDir("images") / "three.t64")) << image.Error();
    EXPECT_EQ(image.HeaderText1(), "FIXTURE TAPE");
    EXPECT_EQ(image.HeaderText2(), "C64S tape image file");
    EXPECT_EQ(image.HeaderNumber1(), 3);
    EXPECT_EQ(image.HeaderNumber2(), 3);
    ASSERT_EQ(image.Entries().Count(), 3);
    size_t n = 1;
    for (const auto& entry : image.Entries()) {
        EXPECT_EQ(&image.Entries().Item(n), &entry);
        const auto extracted = ReadBytes(FixtureDir("images") / "tape" / (entry.Name().Ascii() + ".prg"));
        EXPECT_EQ(extracted, Program(n)) << entry.Name().Ascii();
        EXPECT_EQ(image.ProgramData(n++), extracted) << entry.Name().Ascii();
    }
    EXPECT_EQ(image.Entries().Item(2).Name().Unicode(), "BASIC LOOP");
    EXPECT_TRUE(image.ProgramData(0).empty());
    EXPECT_TRUE(image.ProgramData(4).empty());
}

// Signatures vary; the used-entries count and the maximum are often 0 or wrong. Entries are
// counted among the slots, free slots passed over.
TEST(T64Image, ToleratesHeaderFaults) {
    struct Case { const char* signature; uint16_t maximum, used; size_t entries; };
    const char* sig = "C64S tape image file";
    for (const Case& c : {Case{"C64 tape image file", 30, 3, 3}, Case{"C64S tape file", 30, 3, 3}, Case{"C64 TAPE", 30, 3, 3},
                          Case{sig, 30, 0, 3}, Case{sig, 30, 65535, 3}, Case{sig, 3, 1, 3}, Case{sig, 1, 0, 1},
                          Case{sig, 0, 0, 1}, Case{sig, 65535, 3, 3}}) {
        SCOPED_TRACE(std::string(c.signature) + " maximum " + std::to_string(c.maximum) + " used " + std::to_string(c.used));
        auto bytes = Tape();
        std::fill_n(bytes.begin(), 32, 0);
        std::copy_n(c.signature, std::strlen(c.signature), bytes.begin());
        Put(bytes, 0x22, c.maximum);
        Put(bytes, 0x24, c.used);
        T64Image image;
        ASSERT_TRUE(image.Load(bytes)) << image.Error();
        ASSERT_EQ(image.Entries().Count(), c.entries);
        EXPECT_EQ(image.HeaderNumber1(), static_cast<int32_t>(c.entries));
        EXPECT_EQ(image.ProgramData(c.entries), Program(c.entries));
    }
    auto gap = Tape();
    gap[Slot(2)] = 0;  // a free slot
    T64Image image;
    ASSERT_TRUE(image.Load(gap));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(2).Name().Ascii(), "border");
    EXPECT_EQ(image.ProgramData(2), Program(3));
}

// Wrong end addresses ($C3C6 from old converters) follow from where the next file's data starts,
// in offset order, or for the last file from the end of the image; padding after the last file
// does not lengthen it. A slot whose data lies outside the file is no entry.
TEST(T64Image, CorrectsEndAddressesFromDataOffsets) {
    auto wrongEnds = Tape();
    for (size_t n = 1; n <= 3; ++n) Put(wrongEnds, Slot(n) + 4, 0xc3c6);
    T64Image image;
    ASSERT_TRUE(image.Load(wrongEnds));
    for (size_t n = 1; n <= 3; ++n) EXPECT_EQ(image.ProgramData(n), Program(n)) << n;

    auto padded = Tape();
    padded.resize(padded.size() + 1000, 0);
    ASSERT_TRUE(image.Load(padded));
    EXPECT_EQ(image.ProgramData(3), Program(3));
    Put(padded, Slot(3) + 4, 0xffff);  // far beyond the image
    ASSERT_TRUE(image.Load(padded));
    EXPECT_EQ(image.ProgramData(3).size(), Program(3).size() + 1000);

    // The first two slots' data swapped, the third's far outside the file (and its data gone).
    auto shuffled = wrongEnds;
    shuffled.resize(shuffled.size() - (Program(3).size() - 2));
    for (size_t i = 0; i < 4; ++i) std::swap(shuffled[Slot(1) + 8 + i], shuffled[Slot(2) + 8 + i]);
    Put(shuffled, Slot(3) + 8, 1 << 20, 4);
    ASSERT_TRUE(image.Load(shuffled));
    ASSERT_EQ(image.Entries().Count(), 2);
    EXPECT_EQ(image.Entries().Item(1).Name().Ascii(), "hello");
    // In offset order the second slot's data comes first and ends where the first slot's begins.
    EXPECT_EQ(image.ProgramData(1), WithStart(Program(2), Program(1)));
    EXPECT_EQ(image.ProgramData(2), WithStart(Program(1), Program(2)));
}

TEST(T64Image, RejectsWhatIsNoTape) {
    T64Image image;
    const auto good = Tape();
    EXPECT_FALSE(image.Load({}));
    EXPECT_FALSE(image.Load(std::span(good).first(63)));
    for (const char* signature : {"c64 tape image file", "T64 tape", "C6"}) {
        auto bytes = good;
        std::fill_n(bytes.begin(), 32, 0);
        std::copy_n(signature, std::strlen(signature), bytes.begin());
        EXPECT_FALSE(image.Load(bytes)) << signature;
        EXPECT_FALSE(image.Error().empty());
        EXPECT_EQ(image.Entries().Count(), 0);
    }
    ASSERT_TRUE(image.Load(std::span(good).first(64)));  // a bare header is an empty tape
    EXPECT_EQ(image.Entries().Count(), 0);
    EXPECT_FALSE(image.Open(FixtureDir("images") / "missing.t64"));
    EXPECT_FALSE(image.Error().empty());
}

}  // namespace
}  // namespace floppex
