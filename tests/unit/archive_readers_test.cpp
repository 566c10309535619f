// The ZIP, GZ and Lynx readers against archives made by zip, gzip and cbmconvert (and a GZ with
// every header field from a small generator), and the contents unzip -p, gzip -dc and cbmconvert -l
// take out of them; other Lynx dialects come from a generator of the directory text.
#include <cctype>

#include "archive/gzip_reader.h"
#include "archive/lynx_reader.h"
#include "archive/zip_reader.h"
#include "fixtures.h"

namespace floppex::archive {
namespace {

using testing::ArchiveBytes;
using testing::Bytes;

const ArchiveMember* Find(const ReadResult& r, const std::string& name) {
    const auto m = std::find_if(r.members.begin(), r.members.end(), [&](const auto& m) { return m.name == name; });
    return m == r.members.end() ? nullptr : &*m;
}

TEST(ZipReader, DecodesWhatUnzipDecodesAndReportsZip64AndDamage) {
    // Stored, deflated, sizes in data descriptors (deflated and stored), a member in folders; read
    // by the central directory and, where that is unreadable, by walking the local headers.
    const struct { const char *archive, *member, *expected; } cases[] = {
        {"stored.zip", "game-disk1.d64", "game-disk1.d64"}, {"deflate.zip", "game-disk1.d64", "deflate.expected"},
        {"descriptor.zip", "game-disk1.d64", "descriptor.expected"}, {"descriptor-stored.zip", "hello.prg", "descriptor-stored.expected"},
        {"folders.zip", "deep/folder/hello.prg", "hello.prg"},  // the folder entries are skipped
    };
    for (const auto& c : cases) {
        auto bytes = ArchiveBytes(c.archive);
        for (const char* how : {"by the central directory", "by the local headers"}) {
            const ReadResult r = ReadZip(bytes, ExtractLimits{});
            ASSERT_TRUE(r.ok() && Find(r, c.member)) << c.archive << " " << how;
            EXPECT_EQ(Find(r, c.member)->data, ArchiveBytes(c.expected)) << c.archive << " " << how;
            std::fill(bytes.end() - 10, bytes.end() - 7, 0xEE);  // central directory size beyond the file
        }
    }
    EXPECT_EQ(ReadZip(ArchiveBytes("folders.zip"), ExtractLimits{}).members.size(), 1u);
    const auto bytes = ArchiveBytes("deflate.zip");
    EXPECT_EQ(ReadZip(bytes, ExtractLimits{}).members.size(), 2u);
    const ReadResult filtered = ReadZip(bytes, ExtractLimits{}, [](std::string_view n) { return n.ends_with(".d64"); });
    ASSERT_EQ(filtered.members.size(), 1u);
    EXPECT_EQ(filtered.members[0].name, "game-disk1.d64");
    // ZIP64 and damage are reported (encrypted members and methods not decoded here as the extractor's messages show).
    auto zip64 = ArchiveBytes("deflate.zip");  // a central directory that points to ZIP64 records
    std::fill(zip64.end() - 6, zip64.end() - 2, 0xFF);
    EXPECT_EQ(ReadZip(zip64, ExtractLimits{}).detail, "ZIP64");
    auto flipped = ArchiveBytes("stored.zip");  // a flipped byte in stored data: the CRC no longer matches
    flipped[flipped.size() / 2] ^= 0x01;
    EXPECT_EQ(ReadZip(flipped, ExtractLimits{}).error, ReadError::Damaged);
    // Cut where the central directory began: whole members, but the archive is incomplete.
    EXPECT_EQ(ReadZip(ArchiveBytes("no-central.zip"), ExtractLimits{}).error, ReadError::Damaged);
    EXPECT_EQ(ReadZip(Bytes{'h', 'e', 'l', 'l', 'o'}, ExtractLimits{}).error, ReadError::NotThisFormat);
}

// Cut anywhere, each reader fails or (ZIP only, before its central directory) gives whole
// members that are exactly right.
TEST(ArchiveReaders, CutShortNeverPassDamagedData) {
    const auto disk = ArchiveBytes("game-disk1.d64");
    for (const char* name : {"deflate.zip", "descriptor.zip", "stored.zip"}) {
        const auto whole = ArchiveBytes(name);
        testing::ForEachCut(whole, 50, [&](std::span<const uint8_t> cut, size_t n) {
            const ReadResult r = ReadZip(cut, ExtractLimits{});
            if (const ArchiveMember* m = Find(r, "game-disk1.d64")) EXPECT_EQ(m->data, disk) << name;
            if (n > 30 && n + 22 < whole.size()) EXPECT_FALSE(r.ok() && !Find(r, "game-disk1.d64")) << name;
        });
    }
    testing::ForEachCut(ArchiveBytes("disk.d64.gz"), 40, [](std::span<const uint8_t> cut, size_t) {
        EXPECT_FALSE(ReadGzip(cut, ExtractLimits{}).ok());
    });
    testing::ForEachCut(ArchiveBytes("programs.lnx"), 30, [](std::span<const uint8_t> cut, size_t) {
        const LynxResult r = ReadLynx(cut, ExtractLimits{});
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.files.empty());
    });
}

TEST(ArchiveReaders, StopBombsAtTheLimits) {
    auto bomb = ArchiveBytes("bomb.zip");
    EXPECT_EQ(ReadZip(bomb, ExtractLimits{}).error, ReadError::TooLarge);
    // The header's size is believed first, but a lying header does not get past the cap either.
    for (size_t at = 0; at + 28 <= bomb.size(); ++at) {
        if (bomb[at] == 'P' && bomb[at + 1] == 'K' && bomb[at + 2] == 1 && bomb[at + 3] == 2) {
            std::copy_n("\x10\0\0", 4, bomb.begin() + at + 24);  // uncompressed size 16 bytes
        }
    }
    const ReadResult r = ReadZip(bomb, ExtractLimits{});
    EXPECT_TRUE(!r.ok() && r.members.empty());
    const ExtractLimits oneShort{.maxMemberBytes = 174847}, enough{.maxMemberBytes = 174848};  // the disk image
    EXPECT_EQ(ReadZip(ArchiveBytes("deflate.zip"), oneShort).error, ReadError::TooLarge);
    EXPECT_EQ(ReadGzip(ArchiveBytes("disk.d64.gz"), oneShort).error, ReadError::TooLarge);
    EXPECT_TRUE(ReadGzip(ArchiveBytes("disk.d64.gz"), enough).ok());
    EXPECT_EQ(ReadGzip(ArchiveBytes("bomb.prg.gz"), ExtractLimits{}).error, ReadError::TooLarge);
    EXPECT_EQ(ReadLynx(ArchiveBytes("programs.lnx"), ExtractLimits{.maxTotalBytes = 10000}).error, ReadError::TooLarge);
}

TEST(GzipReader, DecodesWhatGzipDecodes) {
    // Two members join into one file named after the first; a member without a name has none; a
    // name with folders loses them.
    const struct { const char *archive, *name, *expected; } cases[] = {
        {"disk.d64.gz", "game-disk1.d64", "disk.expected"}, {"multi.gz", "part1", "multi.expected"},
        {"noname.d64.gz", "", "disk.expected"}, {"fields.prg.gz", "hello.prg", "hello.prg"}};
    for (const auto& c : cases) {
        const ReadResult r = ReadGzip(ArchiveBytes(c.archive), ExtractLimits{});
        ASSERT_TRUE(r.ok() && r.members.size() == 1) << c.archive;
        EXPECT_EQ(r.members[0].name, c.name);
        EXPECT_EQ(r.members[0].data, ArchiveBytes(c.expected)) << c.archive;
    }
    const auto good = ArchiveBytes("disk.d64.gz");
    for (const size_t fromEnd : {8u, 4u, 1u}) {  // CRC, then ISIZE
        auto bad = good;
        bad[bad.size() - fromEnd] ^= 0x40;
        EXPECT_EQ(ReadGzip(bad, ExtractLimits{}).error, ReadError::Damaged) << fromEnd;
    }
    auto method = good;
    method[2] = 9;  // compression method: not deflate
    EXPECT_EQ(ReadGzip(method, ExtractLimits{}).error, ReadError::UnsupportedMethod);
    EXPECT_EQ(ReadGzip(ArchiveBytes("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);
}

TEST(LynxReader, TakesOutWhatCbmconvertTakesOut) {
    const LynxResult r = ReadLynx(ArchiveBytes("programs.lnx"), ExtractLimits{});
    ASSERT_TRUE(r.ok() && r.files.size() == 4);
    const char* order[] = {"HELLO", "INTRO", "BIG", "SMALL"};
    for (size_t i = 0; i < r.files.size(); ++i) {
        std::string name(r.files[i].name.begin(), r.files[i].name.end());
        EXPECT_TRUE(name == order[i] && r.files[i].type == kPrg) << name;
        for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(r.files[i].data, ArchiveBytes("programs.lnx.expected/" + name + ".prg")) << order[i];
    }
    // Relative files' side sectors are skipped, one per 120 data blocks begun ("one" has 1, "big" 121);
    // cbmconvert names them with the record length in hex.
    const LynxResult rel = ReadLynx(ArchiveBytes("rel.lnx"), ExtractLimits{});
    ASSERT_TRUE(rel.ok() && rel.files.size() == 4);
    EXPECT_EQ(rel.files[0].data, ArchiveBytes("rel.lnx.expected/hello.prg"));
    EXPECT_TRUE(rel.files[1].type == kRel && rel.files[1].recordLength == 30);
    for (const auto& [i, name] : {std::pair{1, "records.l1E"}, {2, "one.l1E"}, {3, "big.lFE"}})
        EXPECT_EQ(rel.files[i].data, ArchiveBytes("rel.lnx.expected/" + std::string(name))) << name;
}

// A Lynx file as older versions wrote it: no BASIC stub, numbers with leading zeros and odd
// spacing, names padded with shifted spaces, and no last-block size after the last entry; damage.
TEST(LynxReader, ReadsOtherDialectsOfTheDirectoryAndRefusesDamagedOnes) {
    Bytes a(300, 0x11);
    const Bytes b(40, 0x22);
    std::copy_n("\0\0\0\r", 4, a.begin() + 10);  // what ends a BASIC stub, in the data of an archive without one
    const std::string dir = " 1  *LYNX XV  BY WILL CORLEY\r 02\rONE" + std::string(13, '\xA0') + "\r  2\rS\r  047  \rTWO\r 1 \rU\r";
    Bytes lynx(dir.begin(), dir.end());
    lynx.resize(254, 0);
    lynx.insert(lynx.end(), a.begin(), a.end());
    lynx.resize(3 * 254, 0);
    lynx.insert(lynx.end(), b.begin(), b.end());
    const LynxResult r = ReadLynx(lynx, ExtractLimits{});
    ASSERT_TRUE(r.ok() && r.files.size() == 2);
    EXPECT_TRUE(r.files[0].name == Bytes({'O', 'N', 'E'}) && r.files[0].type == kSeq && r.files[1].type == kUsr);
    EXPECT_EQ(r.files[0].data, a);
    EXPECT_EQ(r.files[1].data, b);  // up to the end of the archive
    // Damaged: a last-block size of 1 would mean an empty last block; a 17-character name cannot be.
    const auto good = ArchiveBytes("programs.lnx");
    EXPECT_EQ(ReadLynx(ArchiveBytes("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);
    const struct { std::string from, to; ReadError error; } cases[] = {
        {" 202 \r", " 1 \r", ReadError::Damaged}, {"HELLO\xA0", "HELLO\xA0\xA0", ReadError::Damaged},
        {" 4 \r", " 99999 \r", ReadError::TooLarge}};
    for (const auto& c : cases) {
        std::string t(good.begin(), good.end());
        ASSERT_NE(t.find(c.from), std::string::npos) << c.from;
        t.replace(t.find(c.from), c.from.size(), c.to);
        EXPECT_EQ(ReadLynx(Bytes(t.begin(), t.end()), ExtractLimits{}).error, c.error) << c.to;
    }
}

}  // namespace
}  // namespace floppex::archive
