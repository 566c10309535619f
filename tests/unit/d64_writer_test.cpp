// Disk images written here are checked by c1541: its listing, its reading of every file, and its
// validate command, which rebuilds the BAM from the file chains (an unchanged image means the BAM,
// the chains and the side sectors agree).
#include <sstream>

#include "archive/d64_writer.h"
#include "fixtures.h"

namespace floppex::archive {
namespace {

using namespace floppex::testing;

// Upper-case ASCII letters are the C64's plain letters, which c1541 lists in lower case.
std::vector<uint8_t> Name(const std::string& ascii) {
    std::vector<uint8_t> name(ascii.begin(), ascii.end());
    for (auto& c : name) c = static_cast<uint8_t>(std::toupper(c));
    return name;
}

// A program of n bytes whose content depends on the seed, so files cannot be mixed up unnoticed.
std::vector<uint8_t> Program(size_t n, uint8_t seed) {
    std::vector<uint8_t> data(n);
    for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(seed * 31 + i * 7 + i / 254);
    return data;
}

CbmFile File(const std::string& name, size_t size, uint8_t seed, uint8_t type = kPrg) {
    CbmFile f;
    f.name = Name(name);
    f.data = Program(size, seed);
    f.type = type;
    return f;
}

// c1541's listing line for a file: blocks, quoted name padded to 18, type.
std::string Line(size_t blocks, const std::string& name, const std::string& type) {
    std::ostringstream line;
    std::string quoted = "\"" + name + "\"";
    quoted.resize(18, ' ');
    line << blocks << std::string(5 - std::to_string(blocks).size(), ' ') << quoted << " " << type;
    return line.str();
}

size_t BlocksOf(size_t bytes) { return bytes == 0 ? 1 : (bytes + 253) / 254; }

class D64WriterTest : public ::testing::Test {
protected:
    ScratchDir folder{"d64-writer"};
    std::filesystem::path image = folder.Path() / "out.d64";

    void Write(const std::vector<CbmFile>& files, const std::string& diskName = "test disk") {
        const auto result = WriteD64(files, Name(diskName), Name("fx"));
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.image.size(), 174848u);
        WriteBytes(image, result.image);
    }

    // c1541's validate leaves a consistent image as it was.
    void ExpectValid() {
        const auto before = ReadBytes(image);
        const auto copy = folder.Path() / "validated.d64";
        std::filesystem::copy_file(image, copy, std::filesystem::copy_options::overwrite_existing);
        RunCommand("c1541 " + ShellQuote(copy.string()) + " -validate >/dev/null 2>&1");
        EXPECT_EQ(ReadBytes(copy), before) << "c1541 -validate changed the image";
    }
};

TEST_F(D64WriterTest, ListsAndReadsBackEveryFileInC1541) {
    // Sizes around the block edges, a file over several tracks, and all four plain types.
    const std::vector<size_t> sizes = {2, 253, 254, 255, 508, 509, 6000, 40000};
    std::vector<CbmFile> files;
    for (size_t i = 0; i < sizes.size(); ++i) files.push_back(File("file" + std::to_string(i), sizes[i], uint8_t(i)));
    files.push_back(File("a seq file", 300, 50, kSeq));
    files.push_back(File("a usr file", 300, 51, kUsr));
    Write(files);

    std::istringstream listing(C1541List(image));
    std::string line;
    std::getline(listing, line);
    EXPECT_EQ(line, "0 \"test disk       \" fx 2a");
    size_t used = 0;
    for (const CbmFile& f : files) {
        std::getline(listing, line);
        const std::string type = f.type == kSeq ? "seq" : f.type == kUsr ? "usr" : "prg";
        std::string name(f.name.begin(), f.name.end());  // as c1541 lists and takes names
        for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(line.substr(0, line.find_last_not_of(' ') + 1), Line(BlocksOf(f.data.size()), name, type));
        used += BlocksOf(f.data.size());
        const std::string suffix = f.type == kSeq ? ",s" : f.type == kUsr ? ",u" : "";  // c1541 opens PRG by default
        EXPECT_EQ(C1541Read(image, name + suffix, folder.Path() / "read-back"), f.data) << name;
    }
    std::getline(listing, line);
    EXPECT_EQ(line, std::to_string(664 - used) + " blocks free.");

    ExpectValid();
}

TEST_F(D64WriterTest, NamesAreWrittenAsRawPetsciiBytes) {
    // Shifted letters ($C1..) and a shifted space inside the name: c1541 lists them in upper case / as blank.
    CbmFile f = File("", 100, 7);
    f.name = {0x48, 0xC9, 0x20, 0x31, 0xA0, 0x32};
    Write({f}, "DISK");
    const std::string listing = C1541List(image);
    // c1541, like the drive, ends the quoted name at the shifted space.
    EXPECT_NE(listing.find("1    \"hI 1\"2 "), std::string::npos) << listing;
    EXPECT_NE(listing.find("0 \"disk            \" fx 2a"), std::string::npos) << listing;
}

TEST_F(D64WriterTest, FillsAWholeDirectoryAndAWholeDisk) {
    std::vector<CbmFile> files;
    for (int i = 0; i < 144; ++i) files.push_back(File("f" + std::to_string(i), 2, uint8_t(i)));
    Write(files);
    const std::string listing = C1541List(image);
    EXPECT_NE(listing.find("\"f143\""), std::string::npos);
    EXPECT_NE(listing.find("520 blocks free."), std::string::npos) << listing;
    ExpectValid();

    // 664 blocks in all: exactly full, then one byte too many.
    Write({File("full", 664 * 254, 1)});
    EXPECT_NE(C1541List(image).find("0 blocks free."), std::string::npos);
    ExpectValid();
    EXPECT_EQ(WriteD64(std::vector<CbmFile>{File("over", 664 * 254 + 1, 1)}, Name("x"), Name("fx")).error,
              D64WriteError::DiskFull);
    files.push_back(File("f144", 2, 1));
    EXPECT_EQ(WriteD64(files, Name("x"), Name("fx")).error, D64WriteError::TooManyFiles);
}

TEST_F(D64WriterTest, RelativeFilesGetSideSectorsC1541Accepts) {
    // 150 data blocks need two side sectors; the block count includes them.
    CbmFile rel = File("records", 150 * 254, 3, kRel);
    rel.recordLength = 127;
    Write({File("first", 10, 1), rel});
    const std::string listing = C1541List(image);
    EXPECT_NE(listing.find(Line(152, "records", "rel")), std::string::npos) << listing;
    EXPECT_NE(listing.find(std::to_string(664 - 152 - 1) + " blocks free."), std::string::npos) << listing;
    ExpectValid();
}

}  // namespace
}  // namespace floppex::archive
