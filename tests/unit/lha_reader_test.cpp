// The LHA reader against archives written by jlha from generated files, with lhasa's extraction
// of the same archives as the second reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "archive/lha_reader.h"
#include "lha_test_files.h"

namespace floppex::archive {
namespace {

using namespace floppex::lha_test;

fs::path Gen() { return FixtureDir() / "gen"; }

std::vector<fs::path> JlhaArchives() {
    std::vector<fs::path> archives;
    for (const auto& entry : fs::directory_iterator(Gen())) {
        auto name = entry.path().filename().string();
        if (entry.path().extension() == ".lzh" && name.rfind("sfx", 0) != 0) archives.push_back(entry.path());
    }
    std::sort(archives.begin(), archives.end());
    return archives;
}

class LhaJlhaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(Gen())) << "fixtures missing: run tests/fixtures/lha.sh";
        archives_ = JlhaArchives();
        ASSERT_EQ(archives_.size(), 12u) << "3 header levels x 4 methods expected";
    }
    std::vector<fs::path> archives_;
};

// Folder names are joined with '/', level 0 names kept as stored.
TEST_F(LhaJlhaTest, EveryMemberEqualsItsInputAndLhasaOutput) {
    for (const auto& archive : archives_) {
        SCOPED_TRACE(archive.filename().string());
        ReadResult result = ReadLha(ReadBytes(archive), ExtractLimits{});
        ASSERT_TRUE(result.ok()) << result.detail;
        auto extracted = FilesBelow(fs::path(archive).replace_extension(".x"));
        ASSERT_EQ(result.members.size(), extracted.size());
        const bool levelZero = archive.filename().string().rfind("l0_", 0) == 0;
        int nested = 0;
        for (const auto& member : result.members) {
            SCOPED_TRACE(member.name);
            std::string key = PathKey(member.name);
            EXPECT_EQ(member.data, ReadBytes(FixtureDir() / "inputs" / key));
            ASSERT_TRUE(extracted.count(key));
            EXPECT_EQ(member.data, ReadBytes(extracted[key]));
            if (key == "dir/sub/file.txt") {
                EXPECT_EQ(member.name, levelZero ? "dir\\sub\\file.txt" : "dir/sub/file.txt");
                ++nested;
            }
        }
        EXPECT_EQ(nested, 1);
    }
}

TEST(LhaSelfExtractor, ArchiveBehindAProgramIsFound) {
    Bytes plain = ReadBytes(Gen() / "l1_5.lzh");
    ReadResult expected = ReadLha(plain, ExtractLimits{});
    ASSERT_TRUE(expected.ok()) << expected.detail;

    // A BASIC stub (petcat), then a stub with a fake header: the method text without a valid
    // checksum must not be taken for the archive.
    Bytes stub = ReadBytes(FixtureDir() / "inputs" / "stub.prg");
    Bytes decoy = ReadBytes(FixtureDir() / "inputs" / "game.prg");
    const uint8_t fake[] = {0x19, 0x42, '-', 'l', 'h', '5', '-', 0x10, 0, 0, 0, 0x20, 0, 0, 0,
                            0, 0, 0, 0, 0x20, 0, 3, 'A', 'B', 'C', 0, 0};
    decoy.insert(decoy.end(), std::begin(fake), std::end(fake));
    decoy.insert(decoy.end(), plain.begin(), plain.end());

    for (const Bytes& bytes : {ReadBytes(Gen() / "sfx_l1_5.lzh"), decoy}) {
        ASSERT_GT(bytes.size(), plain.size());
        ReadResult result = ReadLha(bytes, ExtractLimits{});
        ASSERT_TRUE(result.ok()) << result.detail;
        ASSERT_EQ(result.members.size(), expected.members.size());
        for (size_t i = 0; i < expected.members.size(); ++i) {
            EXPECT_EQ(result.members[i].name, expected.members[i].name);
            EXPECT_EQ(result.members[i].data, expected.members[i].data);
        }
    }
}

TEST(LhaReader, BytesWithoutAHeaderAreNotThisFormat) {
    Bytes prg = ReadBytes(FixtureDir() / "inputs" / "game.prg");
    ASSERT_FALSE(prg.empty());
    EXPECT_EQ(ReadLha(prg, ExtractLimits{}).error, ReadError::NotThisFormat);
    EXPECT_EQ(ReadLha({}, ExtractLimits{}).error, ReadError::NotThisFormat);
}

// A method we do not decode: the member is passed over with its method named, the rest decoded.
TEST(LhaReader, UnknownMethodIsReportedAndOtherMembersStillDecoded) {
    Bytes bytes = ReadBytes(Gen() / "l0_5.lzh");
    ReadResult full = ReadLha(bytes, ExtractLimits{});
    ASSERT_TRUE(full.ok()) << full.detail;
    ASSERT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 7), "-lh5-");
    bytes[5] = '2';
    bytes[1] = static_cast<uint8_t>(bytes[1] + '2' - '5');  // level 0 checksum: sum of the header bytes

    ReadResult result = ReadLha(bytes, ExtractLimits{});
    EXPECT_EQ(result.error, ReadError::UnsupportedMethod);
    EXPECT_EQ(result.detail, "-lh2-");
    ASSERT_EQ(result.members.size(), full.members.size() - 1);
    for (size_t i = 0; i < result.members.size(); ++i) EXPECT_EQ(result.members[i].data, full.members[i + 1].data);
}

// A stored member with a level 0 header, written from the published layout.
Bytes StoredLevel0(const std::string& name, const Bytes& data) {
    uint16_t crc = 0;  // CRC-16, polynomial 0xA001 reflected
    for (uint8_t b : data) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = static_cast<uint16_t>(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    auto le32 = [](Bytes& b, size_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    Bytes h = {0, 0, '-', 'l', 'h', '0', '-'};
    le32(h, data.size());
    le32(h, data.size());
    le32(h, 0x21000000);  // DOS time stamp
    h.push_back(0x20);     // attribute
    h.push_back(0);        // level
    h.push_back(static_cast<uint8_t>(name.size()));
    h.insert(h.end(), name.begin(), name.end());
    h.push_back(static_cast<uint8_t>(crc));
    h.push_back(static_cast<uint8_t>(crc >> 8));
    h[0] = static_cast<uint8_t>(h.size() - 2);
    uint8_t sum = 0;
    for (size_t i = 2; i < h.size(); ++i) sum = static_cast<uint8_t>(sum + h[i]);
    h[1] = sum;
    h.insert(h.end(), data.begin(), data.end());
    return h;
}

TEST(LhaReader, OldStyleFolderEntriesAreSkippedAndJunkAfterTheEndIgnored) {
    Bytes prg = ReadBytes(FixtureDir() / "inputs" / "game.prg");
    ASSERT_FALSE(prg.empty());
    Bytes archive = StoredLevel0("GAMES\\", {});
    for (const Bytes& part : {StoredLevel0("GAMES\\HELLO.PRG", prg), StoredLevel0("EMPTY", {}), Bytes{0}}) {
        archive.insert(archive.end(), part.begin(), part.end());
    }
    archive.insert(archive.end(), 40, 0x1A);

    ReadResult result = ReadLha(archive, ExtractLimits{});
    ASSERT_TRUE(result.ok()) << result.detail;
    ASSERT_EQ(result.members.size(), 2u);
    EXPECT_EQ(result.members[0].name, "GAMES\\HELLO.PRG");
    EXPECT_EQ(result.members[0].data, prg);
    EXPECT_EQ(result.members[1].name, "EMPTY");
    EXPECT_TRUE(result.members[1].data.empty());
}

TEST(LhaReader, LimitsStopDecoding) {
    Bytes bytes = ReadBytes(Gen() / "l2_7.lzh");
    ReadResult full = ReadLha(bytes, ExtractLimits{});
    ASSERT_TRUE(full.ok()) << full.detail;
    ASSERT_GE(full.members.size(), 4u);
    auto sizeOf = [&](size_t i) { return full.members[i].data.size(); };

    ExtractLimits fewMembers;
    fewMembers.maxMembers = 2;
    ReadResult r = ReadLha(bytes, fewMembers);
    EXPECT_EQ(r.error, ReadError::TooLarge);
    EXPECT_EQ(r.members.size(), 2u);

    size_t largest = 0;
    for (size_t i = 0; i < full.members.size(); ++i) largest = std::max(largest, sizeOf(i));
    ExtractLimits smallMembers;
    smallMembers.maxMemberBytes = largest - 1;
    r = ReadLha(bytes, smallMembers);
    EXPECT_EQ(r.error, ReadError::TooLarge);
    for (const auto& m : r.members) EXPECT_LT(m.data.size(), largest);

    ExtractLimits smallTotal;
    smallTotal.maxTotalBytes = sizeOf(0) + sizeOf(1) + sizeOf(2) - 1;
    r = ReadLha(bytes, smallTotal);
    EXPECT_EQ(r.error, ReadError::TooLarge);
    EXPECT_EQ(r.members.size(), 2u);
    size_t total = 0;
    for (const auto& m : r.members) total += m.data.size();
    EXPECT_LE(total, smallTotal.maxTotalBytes);
}

}  // namespace
}  // namespace floppex::archive
