// Lynx reading against archives cbmconvert wrote and the files its own reader (cbmconvert -l)
// takes out of them; other Lynx dialects come from a generator of the directory text.
#include <gtest/gtest.h>

#include <cctype>

#include "archive/lynx_reader.h"
#include "archive_fixtures.h"

namespace floppex::archive {
namespace {

using floppex::testing::ArchiveFixture;
using floppex::testing::Fixture;
using floppex::testing::ReadBytes;

// cbmconvert -l names a file by its C64 name in lower case plus the type.
std::string CbmconvertName(const CbmFile& f) {
    std::string name(f.name.begin(), f.name.end());
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name + (f.type == kRel ? ".l" : ".prg");
}

TEST(LynxReader, TakesOutWhatCbmconvertTakesOut) {
    const LynxResult r = ReadLynx(Fixture("programs.lnx"), ExtractLimits{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 4u);
    const char* order[] = {"HELLO", "INTRO", "BIG", "SMALL"};
    for (size_t i = 0; i < r.files.size(); ++i) {
        const CbmFile& f = r.files[i];
        EXPECT_EQ(std::string(f.name.begin(), f.name.end()), order[i]);
        EXPECT_EQ(f.type, kPrg);
        EXPECT_EQ(f.data, ReadBytes(ArchiveFixture("programs.lnx.expected") / CbmconvertName(f))) << order[i];
    }
}

TEST(LynxReader, SkipsTheSideSectorsOfRelativeFiles) {
    const LynxResult r = ReadLynx(Fixture("rel.lnx"), ExtractLimits{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[0].data, ReadBytes(ArchiveFixture("rel.lnx.expected") / "hello.prg"));
    EXPECT_EQ(r.files[1].type, kRel);
    EXPECT_EQ(r.files[1].recordLength, 30);
    // cbmconvert names it with the record length in hex: records.l1E
    EXPECT_EQ(r.files[1].data, ReadBytes(ArchiveFixture("rel.lnx.expected") / "records.l1E"));
}

// A Lynx file as older versions wrote it: no BASIC stub, numbers with leading zeros and odd
// spacing, names padded with shifted spaces, and no last-block size after the last entry.
std::vector<uint8_t> OldStyleLynx(const std::vector<uint8_t>& first, const std::vector<uint8_t>& second) {
    std::string dir = " 1  *LYNX XV  BY WILL CORLEY\r 02\r";
    dir += "ONE\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\r";
    dir += "  " + std::to_string((first.size() + 253) / 254) + "\rS\r  0" + std::to_string(first.size() % 254 + 1) + "  \r";
    dir += "TWO\r " + std::to_string((second.size() + 253) / 254) + " \rU\r";
    std::vector<uint8_t> out(dir.begin(), dir.end());
    out.resize(254, 0);
    out.insert(out.end(), first.begin(), first.end());
    out.resize(254 + (first.size() + 253) / 254 * 254, 0);
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

TEST(LynxReader, ReadsOtherDialectsOfTheDirectory) {
    std::vector<uint8_t> a(300, 0x11);
    const std::vector<uint8_t> b(40, 0x22);
    a[10] = a[11] = a[12] = 0;  // what ends a BASIC stub, in the data of an archive without one
    a[13] = 0x0D;
    const LynxResult r = ReadLynx(OldStyleLynx(a, b), ExtractLimits{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[0].name, std::vector<uint8_t>({'O', 'N', 'E'}));
    EXPECT_EQ(r.files[0].type, kSeq);
    EXPECT_EQ(r.files[0].data, a);
    EXPECT_EQ(r.files[1].type, kUsr);
    EXPECT_EQ(r.files[1].data, b);  // up to the end of the archive
}

TEST(LynxReader, RefusesDamagedDirectoriesAndCutData) {
    const auto good = Fixture("programs.lnx");
    for (size_t n = 0; n < good.size(); n += 1 + n / 30) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        const LynxResult r = ReadLynx(cut, ExtractLimits{});
        EXPECT_FALSE(r.ok()) << "cut at " << n;
        EXPECT_TRUE(r.files.empty()) << "cut at " << n;
    }
    EXPECT_EQ(ReadLynx(Fixture("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);

    // A last-block size of 1 would mean an empty last block; a 17-character name cannot be.
    std::string text(good.begin(), good.end());
    auto patched = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        t.replace(at, from.size(), to);
        return ReadLynx(std::vector<uint8_t>(t.begin(), t.end()), ExtractLimits{});
    };
    EXPECT_EQ(patched(" 202 \r", " 1 \r").error, ReadError::Damaged);
    EXPECT_EQ(patched("HELLO\xA0", "HELLO\xA0\xA0").error, ReadError::Damaged);
    EXPECT_EQ(patched(" 4 \r", " 99999 \r").error, ReadError::TooLarge);
    ExtractLimits small;
    small.maxTotalBytes = 10000;
    EXPECT_EQ(ReadLynx(good, small).error, ReadError::TooLarge);
}

}  // namespace
}  // namespace floppex::archive
