// Disk images written here are checked by c1541: its listing, its reading of every file, and its
// validate, which rebuilds the BAM from the file chains (unchanged: BAM, chains, side sectors agree).
#include "archive/d64_writer.h"
#include "fixtures.h"

namespace floppex::archive {
namespace {

using namespace floppex::testing;

// Upper-case ASCII letters are the C64's plain letters, which c1541 lists in lower case. The
// content depends on the seed, so files cannot be mixed up unnoticed.
CbmFile File(const std::string& name, size_t size, uint8_t seed, uint8_t type = kPrg) {
    CbmFile f;
    for (char c : name) f.name.push_back(static_cast<uint8_t>(std::toupper(c)));
    for (size_t i = 0; i < size; ++i) f.data.push_back(static_cast<uint8_t>(seed * 31 + i * 7 + i / 254));
    f.type = type;
    return f;
}

// c1541's listing line for a file: blocks, quoted name padded to 18, type.
std::string Line(size_t blocks, const std::string& name, const std::string& type) {
    std::string quoted = "\"" + name + "\"";
    quoted.resize(18, ' ');
    return std::to_string(blocks) + std::string(5 - std::to_string(blocks).size(), ' ') + quoted + " " + type;
}

class D64WriterTest : public ::testing::Test {
protected:
    ScratchDir folder{"d64-writer"};
    fs::path image = folder.Path() / "out.d64";

    std::string Write(const std::vector<CbmFile>& files, const std::string& diskName = "TEST DISK") {
        const auto result = WriteD64(files, File(diskName, 0, 0).name, File("fx", 0, 0).name);
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(result.image.size(), 174848u);
        WriteBytes(image, result.image);
        return C1541List(image);
    }
    // c1541's validate leaves a consistent image as it was.
    void ExpectValid() {
        const auto copy = folder.Path() / "validated.d64";
        fs::copy_file(image, copy, fs::copy_options::overwrite_existing);
        RunCommand("c1541 " + ShellQuote(copy.string()) + " -validate >/dev/null 2>&1");
        EXPECT_EQ(ReadBytes(copy), ReadBytes(image)) << "c1541 -validate changed the image";
    }
};

TEST_F(D64WriterTest, ListsAndReadsBackEveryFileInC1541) {
    // Sizes around the block edges, a file over several tracks, and all four plain types.
    const std::vector<size_t> sizes = {2, 253, 254, 255, 508, 509, 6000, 40000};
    std::vector<CbmFile> files;
    for (size_t i = 0; i < sizes.size(); ++i) files.push_back(File("file" + std::to_string(i), sizes[i], uint8_t(i)));
    files.push_back(File("a seq file", 300, 50, kSeq));
    files.push_back(File("a usr file", 300, 51, kUsr));
    std::string listing = Write(files), expected = "0 \"test disk       \" fx 2a";
    size_t used = 0;
    for (const CbmFile& f : files) {
        std::string name(f.name.begin(), f.name.end());  // as c1541 lists and takes names
        for (auto& c : name) c = static_cast<char>(std::tolower(c));
        used += (f.data.size() + 253) / 254;
        expected += "\n" + Line((f.data.size() + 253) / 254, name, f.type == kSeq ? "seq" : f.type == kUsr ? "usr" : "prg");
        const std::string suffix = f.type == kSeq ? ",s" : f.type == kUsr ? ",u" : "";  // c1541 opens PRG by default
        EXPECT_EQ(C1541Read(image, name + suffix, folder.Path() / "read-back"), f.data) << name;
    }
    for (size_t at; (at = listing.find(" \n")) != std::string::npos;) listing.erase(at, 1);  // trailing blanks
    EXPECT_EQ(listing, expected + "\n" + std::to_string(664 - used) + " blocks free.\n");
    ExpectValid();
}

TEST_F(D64WriterTest, FillsAWholeDirectoryAndAWholeDiskGivesRelativeFilesSideSectors) {
    std::vector<CbmFile> files;
    for (int i = 0; i < 144; ++i) files.push_back(File("f" + std::to_string(i), 2, uint8_t(i)));
    std::string listing = Write(files);
    EXPECT_NE(listing.find("\"f143\""), std::string::npos);
    EXPECT_NE(listing.find("520 blocks free."), std::string::npos) << listing;
    ExpectValid();
    // 664 blocks in all: exactly full, then one byte too many.
    EXPECT_NE(Write({File("full", 664 * 254, 1)}).find("0 blocks free."), std::string::npos);
    ExpectValid();
    EXPECT_EQ(WriteD64(std::vector<CbmFile>{File("over", 664 * 254 + 1, 1)}, {}, {}).error, D64WriteError::DiskFull);
    files.push_back(File("f144", 2, 1));
    EXPECT_EQ(WriteD64(files, {}, {}).error, D64WriteError::TooManyFiles);

    // 150 data blocks need two side sectors; the block count includes them. Names are raw PETSCII: c1541 lists shifted
    // letters ($C1..) in upper case and, like the drive, ends the quoted name at a shifted space.
    CbmFile rel = File("records", 150 * 254, 3, kRel), raw = File("", 100, 7);
    rel.recordLength = 127;
    raw.name = {0x48, 0xC9, 0x20, 0x31, 0xA0, 0x32};
    listing = Write({raw, rel}, "DISK");
    EXPECT_NE(listing.find("0 \"disk            \" fx 2a"), std::string::npos) << listing;
    EXPECT_NE(listing.find("1    \"hI 1\"2 "), std::string::npos) << listing;
    EXPECT_NE(listing.find(Line(152, "records", "rel")), std::string::npos) << listing;
    EXPECT_NE(listing.find(std::to_string(664 - 152 - 1) + " blocks free."), std::string::npos) << listing;
    ExpectValid();
}

}  // namespace
}  // namespace floppex::archive
