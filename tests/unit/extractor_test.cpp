// Extraction end to end: archives made by outside tools go in, one working file comes out, checked
// against unzip, gzip, cbmconvert and c1541.
#include "archive/archive_extractor.h"
#include "archive/archive_unpacker.h"
#include "fixtures.h"

namespace floppex {
namespace {

using namespace testing;

struct Outcome { bool success = false; fs::path path; std::string error; };

class ExtractorTest : public ::testing::Test {
protected:
    ScratchDir folder{"extractor"};
    ArchiveExtractor extractor;
    const Bytes before = {1, 2, 3};

    Outcome Extract(const fs::path& archive, const fs::path& archiver = {}) {
        Outcome o;
        extractor.Extract(folder.Path(), archive, "", folder.Path() / "currgame", o.path, o.error, "Floppex", archiver, 0,
                          o.success);
        return o;
    }
    Bytes ReadBack(const fs::path& image, const std::string& name) { return C1541Read(image, name, folder.Path() / "read-back"); }
    // A failure explains itself and leaves the working files from before as they were.
    void ExpectFailure(const fs::path& archive, const std::string& message, const fs::path& archiver = {}) {
        for (const char* name : {"currgame.d64", "currgame.prg"}) WriteBytes(folder.Path() / name, before);
        const Outcome o = Extract(archive, archiver);
        EXPECT_TRUE(!o.success && o.path.empty());
        EXPECT_EQ(o.error, message);
        EXPECT_EQ(folder.Files(), (std::vector<std::string>{"currgame.d64", "currgame.prg"}));
        EXPECT_EQ(ReadBytes(folder.Path() / "currgame.d64"), before);
    }
};

TEST_F(ExtractorTest, WritesTheChosenFileUnderTheTargetWithItsExtension) {
    // A GZ's content is named after the archive when it has no name, and known by its size when the
    // name says nothing ("part1").
    const struct { const char *archive, *extension, *expected; } cases[] = {
        {"stored.zip", ".d64", "game-disk1.d64"}, {"deflate.zip", ".d64", "deflate.expected"}, {"disks.zip", ".d64", "game-disk1.d64"},
        {"one-program.zip", ".prg", "intro.prg"}, {"folders.zip", ".prg", "hello.prg"}, {"disk.d64.gz", ".d64", "disk.expected"},
        {"noname.d64.gz", ".d64", "disk.expected"}, {"content-only.gz", ".d64", "disk.expected"}, {"multi.gz", ".d64", "multi.expected"},
        {"hello.prg.gz", ".prg", "hello.prg"}, {"disk.lha", ".d64", "game-disk1.d64"}, {"nest4.gz", ".d64", "game-disk1.d64"},
        {"nest4.zip", ".d64", "game-disk1.d64"},  // as deep as nesting goes
        // Hostile member names only ever give the working file.
        {"slip.zip", ".d64", "game-disk1.d64"}, {"absolute.zip", ".d64", "game-disk1.d64"}, {"drive.zip", ".d64", "game-disk1.d64"},
        {"device.zip", ".d64", "game-disk1.d64"}, {"device2.zip", ".d64", "game-disk1.d64"},
    };
    for (const auto& c : cases) {
        const Outcome o = Extract(Archive(c.archive));
        ASSERT_TRUE(o.success && o.error.empty()) << c.archive << ": " << o.error;
        EXPECT_EQ(o.path, folder.Path() / (std::string("currgame") + c.extension)) << c.archive;
        EXPECT_EQ(ReadBytes(o.path), ArchiveBytes(c.expected)) << c.archive;
        for (const auto& file : folder.Files()) EXPECT_TRUE(file.starts_with("currgame.") && file.find('/') == std::string::npos) << file;
    }
    // Nothing where the hostile names would land, taken from the target folder or the current one.
    for (const fs::path& from : {folder.Path(), fs::current_path()})
        for (const char* name : {"../../../../evil.d64", "/tmp/floppex-evl.d64", "C:\\Windows\\evil1.d64", "CON/../../NUL/xy.d64", "aaaaaaaaaaa/COM1.d64"})
            EXPECT_FALSE(fs::exists((from / name).lexically_normal())) << (from / name).lexically_normal();
    EXPECT_EQ(Extract(Archive("tape-and-programs.zip")).path.filename(), "currgame.t64");
    // Side A of two sides: its disk name tells them apart.
    const Outcome sides = Extract(Archive("sides.zip"));
    EXPECT_EQ(C1541List(sides.path).rfind("0 \"sidea", 0), 0u) << C1541List(sides.path);
    // Older working files of other extensions stay; a new one of the same extension replaces the old.
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"currgame.d64", "currgame.prg", "currgame.t64"}));
    EXPECT_EQ(fs::file_size(folder.Path() / "currgame.d64"), 174848u);
}

TEST_F(ExtractorTest, SeveralProgramsBecomeOneDiskC1541CanRead) {
    const Outcome o = Extract(Archive("programs.zip"));
    ASSERT_TRUE(o.success) << o.error;
    EXPECT_EQ(o.path.filename(), "currgame.d64");
    const std::string listing = C1541List(o.path);
    EXPECT_EQ(listing.rfind("0 \"programs", 0), 0u) << listing;  // the disk is named after the archive
    // Natural order of the file names; the PC64 file keeps the C64 name from its header ("big").
    size_t at = 0;
    for (const char* name : {"big", "hello", "intro", "small"}) {
        at = listing.find("\"" + std::string(name) + "\"", at);
        ASSERT_NE(at, std::string::npos) << name << "\n" << listing;
        EXPECT_EQ(ReadBack(o.path, name), ArchiveBytes(name + std::string(".prg"))) << name;
    }
}

TEST_F(ExtractorTest, LynxBecomesADiskHoldingWhatCbmconvertTakesOut) {
    for (const char* archive : {"lynx-inside.zip", "programs.zip.gz", "programs.lnx"}) {
        const Outcome o = Extract(Archive(archive));
        ASSERT_TRUE(o.success) << archive << ": " << o.error;
        EXPECT_EQ(o.path.filename(), "currgame.d64");
    }
    EXPECT_EQ(ReadBack(folder.Path() / "currgame.d64", "big"), ReadBytes(Archive("programs.lnx.expected/big.prg")));
    const Outcome rel = Extract(Archive("rel.lnx"));
    ASSERT_TRUE(rel.success) << rel.error;
    EXPECT_NE(C1541List(rel.path).find("\"records\"          rel"), std::string::npos) << C1541List(rel.path);
    const Outcome lha = Extract(Archive("programs.lha"));  // jlha's lh5 archive of two programs
    ASSERT_TRUE(lha.success) << lha.error;
    EXPECT_EQ(ReadBack(lha.path, "small"), ArchiveBytes("small.prg"));
}

TEST_F(ExtractorTest, FailuresExplainThemselvesAndLeaveNoFile) {
    ScratchDir inputs("extractor-inputs");
    const auto zip = ArchiveBytes("deflate.zip");
    WriteBytes(inputs.Path() / "cut.zip", std::span(zip).first(zip.size() / 2));
    for (const char* name : {"text.lha", "text.lnx"}) WriteBytes(inputs.Path() / name, Bytes(100, 't'));
    const struct { fs::path archive; std::string message; } cases[] = {
        {Archive("encrypted.zip"), "encrypted.zip is encrypted; Floppex cannot unpack password-protected archives."},
        {Archive("bzip2.zip"), "bzip2.zip uses compression method BZIP2 that Floppex cannot unpack."},
        {Archive("no-c64.zip"), "no-c64.zip holds no C64 disk, tape or program file."},
        {Archive("nest5.zip"), "nest5.zip holds no C64 disk, tape or program file."},  // one level too deep
        {Archive("nest5.gz"), "nest5.gz holds no C64 disk, tape or program file."},
        {Archive("bomb.zip"), "bomb.zip would unpack to more than 64 MB, or to a file of more than 16 MB; "
                              "Floppex does not unpack it."},
        {inputs.Path() / "cut.zip", "cut.zip is damaged and cannot be unpacked."},
        {inputs.Path() / "text.lha", "text.lha is not an archive that Floppex can unpack."},
        {inputs.Path() / "text.lnx", "text.lnx is not an archive that Floppex can unpack."},
        {folder.Path() / "missing.zip", "missing.zip cannot be read."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive.string());
        ExpectFailure(c.archive, c.message);
    }
    extractor.maxArchiveBytes = 1000;  // an archive beyond the size cap is not even read
    ExpectFailure(Archive("deflate.zip"), "deflate.zip is larger than 0 MB; Floppex does not unpack it.");
}

TEST_F(ExtractorTest, AnOutsideArchiverServesForMethodsNotDecodedHere) {
    EXPECT_FALSE(Extract(Archive("bzip2.zip"), "/usr/bin/unzip").success);  // no runner: no help
    std::vector<std::string> calls;
    extractor.archiverRunner = [&](const fs::path& archiver, const fs::path& archive, const fs::path& outDir,
                                   const std::string& caption) {
        calls.push_back(archiver.string() + "|" + archive.filename().string() + "|" + caption);
        return std::system(("unzip -q " + ShellQuote(archive.string()) + " -d " + ShellQuote(outDir.string())).c_str()) == 0;
    };
    EXPECT_FALSE(Extract(Archive("bzip2.zip")).success);  // no archiver path: not tried
    const Outcome o = Extract(Archive("bzip2.zip"), "/usr/bin/unzip");
    ASSERT_TRUE(o.success) << o.error;
    EXPECT_EQ(ReadBytes(o.path), ArchiveBytes("game-disk1.d64"));
    EXPECT_EQ(calls, std::vector<std::string>{"/usr/bin/unzip|bzip2.zip|Floppex"});
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"currgame.d64"});  // its folder is gone again
    EXPECT_TRUE(Extract(Archive("deflate.zip"), "/usr/bin/unzip").success);  // archives decoded here never start it
    EXPECT_EQ(calls.size(), 1u);

    // The archiver fails (after writing something), or ends well having written nothing.
    for (const bool ends : {false, true}) {
        extractor.archiverRunner = [&](const fs::path&, const fs::path&, const fs::path& outDir, const std::string&) {
            if (!ends) WriteBytes(outDir / "half.d64", Bytes(1000, 0));
            return ends;
        };
        ExpectFailure(Archive("bzip2.zip"), ends ? "bzip2.zip holds no C64 disk, tape or program file."
                                                 : "bzip2.zip uses compression method BZIP2 that Floppex cannot unpack.",
                      "/usr/bin/unzip");
    }
}

TEST(PcNames, BecomeC64NamesThatLoadByName) {
    std::vector<archive::ArchiveMember> members;
    for (const char* n : {"dir/My Game, Part 1.prg", "Very long file name indeed.prg", "a*b?.PRG", "a*b?.prg", ".prg"})
        members.push_back({n, {1, 8, 0x60}});
    const auto r = archive::ChooseFrom("set.zip", members, archive::ExtractLimits{});
    ASSERT_TRUE(r.ok());
    // Directory entries: 32 bytes each from track 18 sector 1, name at offset 5, padded with $A0.
    std::vector<std::string> names;
    for (size_t i = 0; i < members.size(); ++i) {
        const std::string name(&r.data[(17 * 21 + 1) * 256 + 32 * i + 5], &r.data[(17 * 21 + 1) * 256 + 32 * i + 21]);
        names.push_back(name.substr(0, name.find('\xA0')));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"-", "A-B-", "A-B-~2", "MY GAME- PART 1", "VERY LONG FILE N"}));
}

}  // namespace
}  // namespace floppex
