// The ZIP, GZ and Lynx readers against archives made by zip, gzip and cbmconvert, and the contents
// unzip -p, gzip -dc and cbmconvert -l take out of them. GZ header fields gzip does not write come
// from a generator that follows RFC 1952 around a deflate stream made by zlib; other Lynx dialects
// from a generator of the directory text.
#include <zlib.h>

#include <cctype>

#include "archive/gzip_reader.h"
#include "archive/lynx_reader.h"
#include "archive/zip_reader.h"
#include "fixtures.h"

namespace floppex::archive {
namespace {

using testing::ArchiveBytes;
using testing::Bytes;
using testing::ForEachCut;

const ArchiveMember* Find(const ReadResult& r, const std::string& name) {
    for (const auto& m : r.members) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

TEST(ZipReader, DecodesWhatUnzipDecodes) {
    // Stored, deflated, and sizes in data descriptors (deflated and stored).
    const struct { const char *archive, *member, *expected; } cases[] = {
        {"stored.zip", "game-disk1.d64", "game-disk1.d64"},
        {"deflate.zip", "game-disk1.d64", "deflate.expected"},
        {"descriptor.zip", "game-disk1.d64", "descriptor.expected"},
        {"descriptor-stored.zip", "hello.prg", "descriptor-stored.expected"},
        {"folders.zip", "deep/folder/hello.prg", "hello.prg"},  // stored names kept, folders skipped
    };
    for (const auto& c : cases) {
        const ReadResult r = ReadZip(ArchiveBytes(c.archive), ExtractLimits{});
        EXPECT_TRUE(r.ok()) << c.archive;
        ASSERT_NE(Find(r, c.member), nullptr) << c.archive;
        EXPECT_EQ(Find(r, c.member)->data, ArchiveBytes(c.expected)) << c.archive;
    }
    EXPECT_EQ(ReadZip(ArchiveBytes("folders.zip"), ExtractLimits{}).members.size(), 1u);
    const auto bytes = ArchiveBytes("deflate.zip");
    EXPECT_EQ(ReadZip(bytes, ExtractLimits{}).members.size(), 2u);
    const ReadResult filtered = ReadZip(bytes, ExtractLimits{}, [](std::string_view n) { return n.ends_with(".d64"); });
    ASSERT_EQ(filtered.members.size(), 1u);
    EXPECT_EQ(filtered.members[0].name, "game-disk1.d64");
}

TEST(ZipReader, WalksTheLocalHeadersWhenTheCentralDirectoryIsUnreadable) {
    auto bytes = ArchiveBytes("deflate.zip");
    const size_t end = bytes.size() - 22;
    bytes[end + 12] = bytes[end + 13] = bytes[end + 14] = 0xEE;  // directory size beyond the file
    const ReadResult r = ReadZip(bytes, ExtractLimits{});
    EXPECT_TRUE(r.ok());
    ASSERT_NE(Find(r, "game-disk1.d64"), nullptr);
    EXPECT_EQ(Find(r, "game-disk1.d64")->data, ArchiveBytes("deflate.expected"));
    // Cut where the central directory began: whole members, but the archive is incomplete.
    EXPECT_EQ(ReadZip(ArchiveBytes("no-central.zip"), ExtractLimits{}).error, ReadError::Damaged);
}

TEST(ZipReader, ReportsEncryptionUnknownMethodsAndDamage) {
    const ReadResult encrypted = ReadZip(ArchiveBytes("encrypted.zip"), ExtractLimits{});
    EXPECT_EQ(encrypted.error, ReadError::Encrypted);
    EXPECT_TRUE(encrypted.members.empty());
    const ReadResult bzip2 = ReadZip(ArchiveBytes("bzip2.zip"), ExtractLimits{});
    EXPECT_EQ(bzip2.error, ReadError::UnsupportedMethod);
    EXPECT_EQ(bzip2.detail, "BZIP2");
    auto zip64 = ArchiveBytes("deflate.zip");  // a central directory that points to ZIP64 records
    std::fill(zip64.end() - 6, zip64.end() - 2, 0xFF);
    EXPECT_EQ(ReadZip(zip64, ExtractLimits{}).detail, "ZIP64");
    auto flipped = ArchiveBytes("stored.zip");  // a flipped byte in stored data: the CRC no longer matches
    flipped[flipped.size() / 2] ^= 0x01;
    EXPECT_EQ(ReadZip(flipped, ExtractLimits{}).error, ReadError::Damaged);
    EXPECT_EQ(ReadZip(Bytes{'h', 'e', 'l', 'l', 'o'}, ExtractLimits{}).error, ReadError::NotThisFormat);
}

// Cut anywhere, each reader fails or (ZIP only, before its central directory) gives whole
// members that are exactly right.
TEST(ArchiveReaders, CutShortNeverPassDamagedData) {
    const auto disk = ArchiveBytes("game-disk1.d64");
    for (const char* name : {"deflate.zip", "descriptor.zip", "stored.zip"}) {
        const auto whole = ArchiveBytes(name);
        ForEachCut(whole, 50, [&](std::span<const uint8_t> cut, size_t n) {
            const ReadResult r = ReadZip(cut, ExtractLimits{});
            if (const ArchiveMember* m = Find(r, "game-disk1.d64")) EXPECT_EQ(m->data, disk) << name;
            if (n > 30 && n + 22 < whole.size()) EXPECT_FALSE(r.ok() && !Find(r, "game-disk1.d64")) << name;
        });
    }
    ForEachCut(ArchiveBytes("disk.d64.gz"), 40, [](std::span<const uint8_t> cut, size_t) {
        EXPECT_FALSE(ReadGzip(cut, ExtractLimits{}).ok());
    });
    ForEachCut(ArchiveBytes("programs.lnx"), 30, [](std::span<const uint8_t> cut, size_t) {
        const LynxResult r = ReadLynx(cut, ExtractLimits{});
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.files.empty());
    });
}

TEST(ArchiveReaders, StopBombsAtTheLimits) {
    const auto bomb = ArchiveBytes("bomb.zip");
    EXPECT_EQ(ReadZip(bomb, ExtractLimits{}).error, ReadError::TooLarge);
    // The header's size is believed first, but a lying header does not get past the cap either.
    auto lying = bomb;
    for (size_t at = 0; at + 28 <= lying.size(); ++at) {
        if (lying[at] == 'P' && lying[at + 1] == 'K' && lying[at + 2] == 1 && lying[at + 3] == 2) {
            lying[at + 24] = 0x10;  // uncompressed size 16 bytes
            lying[at + 25] = lying[at + 26] = lying[at + 27] = 0;
        }
    }
    const ReadResult r = ReadZip(lying, ExtractLimits{});
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.members.empty());
    ExtractLimits tight;
    tight.maxMemberBytes = 174847;  // one byte short of the disk image
    EXPECT_EQ(ReadZip(ArchiveBytes("deflate.zip"), tight).error, ReadError::TooLarge);
    EXPECT_EQ(ReadGzip(ArchiveBytes("disk.d64.gz"), tight).error, ReadError::TooLarge);
    EXPECT_EQ(ReadGzip(ArchiveBytes("bomb.prg.gz"), ExtractLimits{}).error, ReadError::TooLarge);
    tight.maxMemberBytes = 174848;
    EXPECT_TRUE(ReadGzip(ArchiveBytes("disk.d64.gz"), tight).ok());
    ExtractLimits small;
    small.maxTotalBytes = 10000;
    EXPECT_EQ(ReadLynx(ArchiveBytes("programs.lnx"), small).error, ReadError::TooLarge);
}

// A gzip member with every optional header field: FEXTRA, FNAME, FCOMMENT, FHCRC.
Bytes FullHeaderMember(const Bytes& content, const std::string& name) {
    Bytes out = {0x1F, 0x8B, 8, 2 | 4 | 8 | 16, 0, 0, 0, 0, 0, 3, 4, 0, 'a', 'b', 2, 0};  // XLEN 4: one subfield
    const std::string texts = name + '\0' + "made by hand" + '\0';
    out.insert(out.end(), texts.begin(), texts.end());
    const auto put = [&](uint32_t v, int n) { for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i))); };
    put(static_cast<uint32_t>(crc32(0L, out.data(), static_cast<uInt>(out.size()))), 2);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes packed(deflateBound(&z, static_cast<uLong>(content.size())));
    z.next_in = const_cast<Bytef*>(content.data());
    z.avail_in = static_cast<uInt>(content.size());
    z.next_out = packed.data();
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(z.total_out));
    deflateEnd(&z);
    put(static_cast<uint32_t>(crc32(0L, content.data(), static_cast<uInt>(content.size()))), 4);
    put(static_cast<uint32_t>(content.size()), 4);
    return out;
}

TEST(GzipReader, DecodesWhatGzipDecodes) {
    // Two members join into one file named after the first; a member without a name has none.
    const struct { const char *archive, *name, *expected; } cases[] = {
        {"disk.d64.gz", "game-disk1.d64", "disk.expected"},
        {"multi.gz", "part1", "multi.expected"},
        {"noname.d64.gz", "", "disk.expected"},
    };
    for (const auto& c : cases) {
        const ReadResult r = ReadGzip(ArchiveBytes(c.archive), ExtractLimits{});
        ASSERT_TRUE(r.ok()) << c.archive;
        ASSERT_EQ(r.members.size(), 1u) << c.archive;
        EXPECT_EQ(r.members[0].name, c.name);
        EXPECT_EQ(r.members[0].data, ArchiveBytes(c.expected)) << c.archive;
    }
    // Every optional header field, a name with folders (stripped), padding after the last member.
    const auto content = ArchiveBytes("hello.prg");
    auto bytes = FullHeaderMember(content, "../some/folder/hello.prg");
    bytes.insert(bytes.end(), {0, 0, 0, 0});
    const ReadResult r = ReadGzip(bytes, ExtractLimits{});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.members[0].name, "hello.prg");
    EXPECT_EQ(r.members[0].data, content);
}

TEST(GzipReader, RejectsDamage) {
    const auto good = ArchiveBytes("disk.d64.gz");
    for (const size_t fromEnd : {8u, 4u, 1u}) {  // CRC, then ISIZE
        auto bad = good;
        bad[bad.size() - fromEnd] ^= 0x40;
        EXPECT_EQ(ReadGzip(bad, ExtractLimits{}).error, ReadError::Damaged) << fromEnd;
    }
    auto method = good;
    method[2] = 9;
    EXPECT_EQ(ReadGzip(method, ExtractLimits{}).error, ReadError::UnsupportedMethod);
    EXPECT_EQ(ReadGzip(ArchiveBytes("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);
}

TEST(LynxReader, TakesOutWhatCbmconvertTakesOut) {
    const LynxResult r = ReadLynx(ArchiveBytes("programs.lnx"), ExtractLimits{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 4u);
    const char* order[] = {"HELLO", "INTRO", "BIG", "SMALL"};
    for (size_t i = 0; i < r.files.size(); ++i) {
        std::string name(r.files[i].name.begin(), r.files[i].name.end());
        EXPECT_EQ(name, order[i]);
        EXPECT_EQ(r.files[i].type, kPrg);
        for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(r.files[i].data, ArchiveBytes("programs.lnx.expected/" + name + ".prg")) << order[i];
    }
    // A relative file's side sectors are skipped; cbmconvert names it with the record length in hex.
    const LynxResult rel = ReadLynx(ArchiveBytes("rel.lnx"), ExtractLimits{});
    ASSERT_TRUE(rel.ok());
    ASSERT_EQ(rel.files.size(), 2u);
    EXPECT_EQ(rel.files[0].data, ArchiveBytes("rel.lnx.expected/hello.prg"));
    EXPECT_EQ(rel.files[1].type, kRel);
    EXPECT_EQ(rel.files[1].recordLength, 30);
    EXPECT_EQ(rel.files[1].data, ArchiveBytes("rel.lnx.expected/records.l1E"));
}

// A Lynx file as older versions wrote it: no BASIC stub, numbers with leading zeros and odd
// spacing, names padded with shifted spaces, and no last-block size after the last entry.
TEST(LynxReader, ReadsOtherDialectsOfTheDirectory) {
    Bytes a(300, 0x11);
    const Bytes b(40, 0x22);
    a[10] = a[11] = a[12] = 0;  // what ends a BASIC stub, in the data of an archive without one
    a[13] = 0x0D;
    std::string dir = " 1  *LYNX XV  BY WILL CORLEY\r 02\rONE" + std::string(13, '\xA0') + "\r  2\rS\r  047  \rTWO\r 1 \rU\r";
    Bytes lynx(dir.begin(), dir.end());
    lynx.resize(254, 0);
    lynx.insert(lynx.end(), a.begin(), a.end());
    lynx.resize(254 + 2 * 254, 0);
    lynx.insert(lynx.end(), b.begin(), b.end());
    const LynxResult r = ReadLynx(lynx, ExtractLimits{});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[0].name, Bytes({'O', 'N', 'E'}));
    EXPECT_EQ(r.files[0].type, kSeq);
    EXPECT_EQ(r.files[0].data, a);
    EXPECT_EQ(r.files[1].type, kUsr);
    EXPECT_EQ(r.files[1].data, b);  // up to the end of the archive
}

TEST(LynxReader, RefusesDamagedDirectories) {
    const auto good = ArchiveBytes("programs.lnx");
    EXPECT_EQ(ReadLynx(ArchiveBytes("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);
    // A last-block size of 1 would mean an empty last block; a 17-character name cannot be.
    const struct { std::string from, to; ReadError error; } cases[] = {
        {" 202 \r", " 1 \r", ReadError::Damaged},
        {"HELLO\xA0", "HELLO\xA0\xA0", ReadError::Damaged},
        {" 4 \r", " 99999 \r", ReadError::TooLarge},
    };
    for (const auto& c : cases) {
        std::string t(good.begin(), good.end());
        ASSERT_NE(t.find(c.from), std::string::npos) << c.from;
        t.replace(t.find(c.from), c.from.size(), c.to);
        EXPECT_EQ(ReadLynx(Bytes(t.begin(), t.end()), ExtractLimits{}).error, c.error) << c.to;
    }
}

}  // namespace
}  // namespace floppex::archive
