// Extraction end to end: archives made by outside tools go in, one working file comes out, checked
// against unzip, gzip, cbmconvert and c1541.
#include <gtest/gtest.h>

#include <cctype>

#include "archive/archive_extractor.h"
#include "archive/archive_unpacker.h"
#include "archive_fixtures.h"

namespace floppex {
namespace {

namespace fs = std::filesystem;
using floppex::testing::ArchiveFixture;
using floppex::testing::C1541Listing;
using floppex::testing::C1541Read;
using floppex::testing::Fixture;
using floppex::testing::ReadBytes;
using floppex::testing::ScratchDir;
using floppex::testing::WriteBytes;

struct Outcome {
    bool success = false;
    fs::path path;
    std::string error;
};

class ExtractorTest : public ::testing::Test {
protected:
    ScratchDir folder{"extractor"};
    ArchiveExtractor extractor;

    Outcome Extract(const fs::path& archive, const fs::path& archiver = {}) {
        Outcome o;
        extractor.Extract(folder.Path(), archive, "", folder.Path() / "currgame", o.path, o.error, "Floppex", archiver, 0,
                          o.success);
        return o;
    }
    Outcome ExtractFixture(const std::string& name) { return Extract(ArchiveFixture(name)); }

    std::vector<uint8_t> ReadBack(const fs::path& image, const std::string& name) {
        return C1541Read(image, name, folder.Path() / "read-back");
    }
};

TEST_F(ExtractorTest, WritesTheChosenFileUnderTheTargetWithItsExtension) {
    const struct {
        const char* archive;
        const char* extension;
        const char* expected;  // same bytes as this fixture
    } cases[] = {
        {"stored.zip", ".d64", "game-disk1.d64"},
        {"deflate.zip", ".d64", "deflate.expected"},
        {"disks.zip", ".d64", "game-disk1.d64"},
        {"one-program.zip", ".prg", "intro.prg"},
        {"folders.zip", ".prg", "hello.prg"},
        {"disk.d64.gz", ".d64", "disk.expected"},
        {"noname.d64.gz", ".d64", "disk.expected"},     // named after the archive
        {"content-only.gz", ".d64", "disk.expected"},   // known by its size
        {"multi.gz", ".d64", "multi.expected"},         // the stored name "part1" says nothing: by size
        {"hello.prg.gz", ".prg", "hello.prg"},
        {"disk.lha", ".d64", "game-disk1.d64"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        const Outcome o = ExtractFixture(c.archive);
        ASSERT_TRUE(o.success) << o.error;
        EXPECT_EQ(o.path, folder.Path() / (std::string("currgame") + c.extension));
        EXPECT_EQ(ReadBytes(o.path), Fixture(c.expected));
        EXPECT_TRUE(o.error.empty());
    }
    const Outcome tape = ExtractFixture("tape-and-programs.zip");
    EXPECT_EQ(tape.path.filename(), "currgame.t64");
    // Side A of two sides: its disk name tells them apart.
    const Outcome sides = ExtractFixture("sides.zip");
    EXPECT_EQ(C1541Listing(sides.path).rfind("0 \"sidea", 0), 0u) << C1541Listing(sides.path);
    // Older working files of other extensions stay; a new one of the same extension replaces the old.
    EXPECT_TRUE(fs::exists(folder.Path() / "currgame.prg"));
    EXPECT_EQ(fs::file_size(folder.Path() / "currgame.d64"), 174848u);
}

TEST_F(ExtractorTest, SeveralProgramsBecomeOneDiskC1541CanRead) {
    const Outcome o = ExtractFixture("programs.zip");
    ASSERT_TRUE(o.success) << o.error;
    EXPECT_EQ(o.path.filename(), "currgame.d64");
    const std::string listing = C1541Listing(o.path);
    // Natural order of the file names; the PC64 file keeps the C64 name from its header ("big").
    const char* names[] = {"big", "hello", "intro", "small"};
    const char* sources[] = {"big.prg", "hello.prg", "intro.prg", "small.prg"};
    size_t at = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t found = listing.find("\"" + std::string(names[i]) + "\"", at);
        ASSERT_NE(found, std::string::npos) << names[i] << "\n" << listing;
        at = found;
        EXPECT_EQ(ReadBack(o.path, names[i]), Fixture(sources[i])) << names[i];
    }
    EXPECT_EQ(listing.rfind("0 \"programs", 0), 0u) << listing;  // the disk is named after the archive
}

TEST_F(ExtractorTest, LynxBecomesADiskHoldingWhatCbmconvertTakesOut) {
    for (const char* archive : {"programs.lnx", "lynx-inside.zip", "programs.zip.gz"}) {
        SCOPED_TRACE(archive);
        const Outcome o = ExtractFixture(archive);
        ASSERT_TRUE(o.success) << o.error;
        EXPECT_EQ(o.path.filename(), "currgame.d64");
    }
    const Outcome o = ExtractFixture("programs.lnx");
    const std::string listing = C1541Listing(o.path);
    for (const auto& entry : fs::directory_iterator(ArchiveFixture("programs.lnx.expected"))) {
        const std::string name = entry.path().stem().string();
        const auto bytes = ReadBytes(entry.path());
        const std::string blocks = std::to_string((bytes.size() + 253) / 254);
        EXPECT_NE(listing.find(blocks + std::string(5 - blocks.size(), ' ') + "\"" + name + "\""), std::string::npos)
            << name << "\n" << listing;
        EXPECT_EQ(ReadBack(o.path, name), bytes) << name;
    }
    const Outcome rel = ExtractFixture("rel.lnx");
    ASSERT_TRUE(rel.success) << rel.error;
    EXPECT_NE(C1541Listing(rel.path).find("\"records\"          rel"), std::string::npos) << C1541Listing(rel.path);
    // programs.lha: jlha's lh5 archive of two programs.
    const Outcome lha = ExtractFixture("programs.lha");
    ASSERT_TRUE(lha.success) << lha.error;
    EXPECT_EQ(ReadBack(lha.path, "small"), Fixture("small.prg"));
}

TEST_F(ExtractorTest, HostileNamesOnlyEverGiveTheWorkingFile) {
    for (const char* archive : {"slip.zip", "absolute.zip", "drive.zip", "device.zip", "device2.zip"}) {
        SCOPED_TRACE(archive);
        const Outcome o = ExtractFixture(archive);
        ASSERT_TRUE(o.success) << o.error;
        EXPECT_EQ(o.path, folder.Path() / "currgame.d64");
        EXPECT_EQ(ReadBytes(o.path), Fixture("game-disk1.d64"));
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"currgame.d64"});
    }
    EXPECT_FALSE(fs::exists("/tmp/floppex-evl.d64"));
    EXPECT_FALSE(fs::exists(folder.Path().parent_path() / "evil.d64"));
}

TEST_F(ExtractorTest, FailuresExplainThemselvesAndLeaveNoFile) {
    const auto tempFile = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path p = folder.Path().parent_path() / ("floppex-test-input-" + name);
        WriteBytes(p, bytes);
        return p;
    };
    auto cut = Fixture("deflate.zip");
    cut.resize(cut.size() / 2);
    const std::string text = "just some text";
    const struct {
        fs::path archive;
        std::string message;
    } cases[] = {
        {ArchiveFixture("encrypted.zip"), "encrypted.zip is encrypted; Floppex cannot unpack password-protected archives."},
        {ArchiveFixture("bzip2.zip"), "bzip2.zip uses compression method BZIP2 that Floppex cannot unpack."},
        {ArchiveFixture("no-c64.zip"), "no-c64.zip holds no C64 disk, tape or program file."},
        {ArchiveFixture("bomb.zip"), "bomb.zip would unpack to more than 64 MB, or to a file of more than 16 MB; "
                                     "Floppex does not unpack it."},
        {tempFile("cut.zip", cut), "floppex-test-input-cut.zip is damaged and cannot be unpacked."},
        {tempFile("text.lha", std::vector<uint8_t>(text.begin(), text.end())),
         "floppex-test-input-text.lha is not an archive that Floppex can unpack."},
        {tempFile("text.lnx", std::vector<uint8_t>(text.begin(), text.end())),
         "floppex-test-input-text.lnx is not an archive that Floppex can unpack."},
        {folder.Path() / "missing.zip", "missing.zip cannot be read."},
    };
    // A working file from before survives every failure untouched.
    const std::vector<uint8_t> before = {1, 2, 3};
    WriteBytes(folder.Path() / "currgame.d64", before);
    WriteBytes(folder.Path() / "currgame.prg", before);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive.string());
        const Outcome o = Extract(c.archive);
        EXPECT_FALSE(o.success);
        EXPECT_EQ(o.error, c.message);
        EXPECT_TRUE(o.path.empty());
        EXPECT_EQ(folder.Files(), (std::vector<std::string>{"currgame.d64", "currgame.prg"}));
        EXPECT_EQ(ReadBytes(folder.Path() / "currgame.d64"), before);
    }
    for (const char* name : {"cut.zip", "text.lha", "text.lnx"}) {
        fs::remove(folder.Path().parent_path() / ("floppex-test-input-" + std::string(name)));
    }
    // An archive beyond the size cap is not even read.
    extractor.maxArchiveBytes = 1000;
    EXPECT_EQ(ExtractFixture("deflate.zip").error, "deflate.zip is larger than 0 MB; Floppex does not unpack it.");
}

TEST_F(ExtractorTest, AnOutsideArchiverServesForMethodsNotDecodedHere) {
    EXPECT_FALSE(Extract(ArchiveFixture("bzip2.zip"), "/usr/bin/unzip").success);  // no runner: no help
    std::vector<std::string> calls;
    extractor.archiverRunner = [&](const fs::path& archiver, const fs::path& archive, const fs::path& outDir,
                                   const std::string& caption) {
        calls.push_back(archiver.string() + "|" + archive.filename().string() + "|" + caption);
        return std::system(("unzip -q '" + archive.string() + "' -d '" + outDir.string() + "'").c_str()) == 0;
    };
    EXPECT_FALSE(Extract(ArchiveFixture("bzip2.zip")).success);  // no archiver path: not tried
    const Outcome o = Extract(ArchiveFixture("bzip2.zip"), "/usr/bin/unzip");
    ASSERT_TRUE(o.success) << o.error;
    EXPECT_EQ(ReadBytes(o.path), Fixture("game-disk1.d64"));
    EXPECT_EQ(calls, std::vector<std::string>{"/usr/bin/unzip|bzip2.zip|Floppex"});
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"currgame.d64"});  // its folder is gone again
    // Archives decoded here never start it.
    EXPECT_TRUE(Extract(ArchiveFixture("deflate.zip"), "/usr/bin/unzip").success);
    EXPECT_EQ(calls.size(), 1u);
}

TEST(PcNames, BecomeC64NamesThatLoadByName) {
    // Members as any archive reader gives them, under awkward PC names.
    std::vector<archive::ArchiveMember> members;
    for (const char* n : {"dir/My Game, Part 1.prg", "Very long file name indeed.prg", "a*b?.PRG", "a*b?.prg", ".prg"}) {
        members.push_back({n, {0x01, 0x08, 0x60}});
    }
    const auto r = archive::ChooseFrom("set.zip", members, archive::ExtractLimits{});
    ASSERT_TRUE(r.ok());
    // Directory entries: 32 bytes each from track 18 sector 1, name at offset 5, padded with $A0.
    const size_t dir = (17 * 21 + 1) * 256;
    std::vector<std::string> names;
    for (size_t i = 0; i < members.size(); ++i) {
        const auto* entry = &r.data[dir + 32 * i];
        std::string name(entry + 5, entry + 21);
        names.push_back(name.substr(0, name.find('\xA0')));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"-", "A-B-", "A-B-~2", "MY GAME- PART 1", "VERY LONG FILE N"}));
}

}  // namespace
}  // namespace floppex
