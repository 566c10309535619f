// ZIP reading against archives made by zip and contents given by unzip -p.
#include <gtest/gtest.h>

#include "archive/zip_reader.h"
#include "archive_fixtures.h"

namespace floppex::archive {
namespace {

using floppex::testing::Fixture;

const ArchiveMember* Find(const ReadResult& r, const std::string& name) {
    for (const auto& m : r.members) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

TEST(ZipReader, DecodesWhatUnzipDecodes) {
    // Stored, deflated, and sizes in data descriptors (deflated and stored).
    const struct {
        const char* archive;
        const char* member;
        const char* expected;
    } cases[] = {
        {"stored.zip", "game-disk1.d64", "game-disk1.d64"},
        {"deflate.zip", "game-disk1.d64", "deflate.expected"},
        {"descriptor.zip", "game-disk1.d64", "descriptor.expected"},
        {"descriptor-stored.zip", "hello.prg", "descriptor-stored.expected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        const ReadResult r = ReadZip(Fixture(c.archive), ExtractLimits{});
        EXPECT_TRUE(r.ok()) << static_cast<int>(r.error);
        const ArchiveMember* m = Find(r, c.member);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->data, Fixture(c.expected));
    }
}

TEST(ZipReader, WalksTheLocalHeadersWhenTheCentralDirectoryIsUnreadable) {
    auto bytes = Fixture("deflate.zip");
    const size_t end = bytes.size() - 22;
    bytes[end + 12] = bytes[end + 13] = bytes[end + 14] = 0xEE;  // directory size beyond the file
    const ReadResult r = ReadZip(bytes, ExtractLimits{});
    EXPECT_TRUE(r.ok());
    ASSERT_NE(Find(r, "game-disk1.d64"), nullptr);
    EXPECT_EQ(Find(r, "game-disk1.d64")->data, Fixture("deflate.expected"));
    // Cut where the central directory began: whole members, but the archive is incomplete.
    const ReadResult cut = ReadZip(Fixture("no-central.zip"), ExtractLimits{});
    EXPECT_EQ(cut.error, ReadError::Damaged);
}

TEST(ZipReader, KeepsStoredNamesSkipsFoldersAndHonoursTheFilter) {
    const ReadResult folders = ReadZip(Fixture("folders.zip"), ExtractLimits{});
    ASSERT_EQ(folders.members.size(), 1u);
    EXPECT_EQ(folders.members[0].name, "deep/folder/hello.prg");
    EXPECT_EQ(folders.members[0].data, Fixture("hello.prg"));

    const auto bytes = Fixture("deflate.zip");
    EXPECT_EQ(ReadZip(bytes, ExtractLimits{}).members.size(), 2u);
    const ReadResult filtered = ReadZip(bytes, ExtractLimits{}, [](std::string_view n) { return n.ends_with(".d64"); });
    ASSERT_EQ(filtered.members.size(), 1u);
    EXPECT_EQ(filtered.members[0].name, "game-disk1.d64");
}

TEST(ZipReader, ReportsEncryptionAndUnknownMethods) {
    const ReadResult encrypted = ReadZip(Fixture("encrypted.zip"), ExtractLimits{});
    EXPECT_EQ(encrypted.error, ReadError::Encrypted);
    EXPECT_TRUE(encrypted.members.empty());
    const ReadResult bzip2 = ReadZip(Fixture("bzip2.zip"), ExtractLimits{});
    EXPECT_EQ(bzip2.error, ReadError::UnsupportedMethod);
    EXPECT_EQ(bzip2.detail, "BZIP2");

    // A central directory that points to ZIP64 records.
    auto zip64 = Fixture("deflate.zip");
    const size_t end = zip64.size() - 22;
    for (size_t i = 16; i < 20; ++i) zip64[end + i] = 0xFF;
    EXPECT_EQ(ReadZip(zip64, ExtractLimits{}).detail, "ZIP64");
}

TEST(ZipReader, NeverPassesDamagedData) {
    const auto good = Fixture("stored.zip");
    const auto disk = Fixture("game-disk1.d64");
    // A flipped byte in the stored data: the CRC no longer matches.
    auto flipped = good;
    flipped[flipped.size() / 2] ^= 0x01;
    EXPECT_EQ(ReadZip(flipped, ExtractLimits{}).error, ReadError::Damaged);

    // Every cut: either an error or members that are exactly right.
    for (const char* name : {"deflate.zip", "descriptor.zip", "stored.zip"}) {
        const auto whole = Fixture(name);
        for (size_t n = 0; n < whole.size(); n += 1 + n / 50) {
            const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            const ReadResult r = ReadZip(cut, ExtractLimits{});
            if (const ArchiveMember* m = Find(r, "game-disk1.d64")) EXPECT_EQ(m->data, disk) << name << " cut at " << n;
            if (n > 30 && n + 22 < whole.size()) EXPECT_FALSE(r.ok() && Find(r, "game-disk1.d64") == nullptr) << n;
        }
    }
    EXPECT_EQ(ReadZip(std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, ExtractLimits{}).error, ReadError::NotThisFormat);
}

TEST(ZipReader, StopsABombAtTheLimits) {
    const auto bomb = Fixture("bomb.zip");
    EXPECT_EQ(ReadZip(bomb, ExtractLimits{}).error, ReadError::TooLarge);
    // The header's size is believed first, but a lying header does not get past the cap either.
    auto lying = bomb;
    for (size_t at = 0; at + 4 <= lying.size(); ++at) {
        if (lying[at] == 'P' && lying[at + 1] == 'K' && lying[at + 2] == 1 && lying[at + 3] == 2) {
            lying[at + 24] = 0x10;  // uncompressed size 16 bytes
            lying[at + 25] = lying[at + 26] = lying[at + 27] = 0;
        }
    }
    const ReadResult r = ReadZip(lying, ExtractLimits{});
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.members.empty());
    ExtractLimits small;
    small.maxMemberBytes = 1000;
    EXPECT_EQ(ReadZip(Fixture("deflate.zip"), small).error, ReadError::TooLarge);
}

}  // namespace
}  // namespace floppex::archive
