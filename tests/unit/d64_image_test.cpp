// Disk images made by c1541 and cbmconvert (tests/fixtures/images.sh), checked against the
// listing c1541 itself prints for them.
#include <gtest/gtest.h>

#include <numeric>

#include "c64/d64_image.h"
#include "c64/listing_text.h"
#include "fixture_files.h"

namespace floppex {
namespace {

using testing::FixtureDir;
using testing::ReadBytes;
using testing::ReadText;

std::filesystem::path Image(const std::string& name) { return FixtureDir("images") / name; }

D64Image Loaded(const std::string& name) {
    D64Image image;
    EXPECT_TRUE(image.Open(Image(name))) << name << ": " << image.Error();
    return image;
}

int SumOfBlocks(const D64Image& image) {
    int sum = 0;
    for (const auto& e : image.Entries()) sum += std::stoi(e.Blocks());
    return sum;
}

// Every fixture image, good or damaged, lists exactly as c1541 lists it.
TEST(D64Image, ListingEqualsC1541ForEveryFixtureImage) {
    int compared = 0;
    for (const auto& file : std::filesystem::directory_iterator(FixtureDir("images"))) {
        if (file.path().extension() != ".d64") continue;
        SCOPED_TRACE(file.path().filename().string());
        const auto image = Loaded(file.path().filename().string());
        EXPECT_EQ(C1541Listing(image), ReadText(file.path().string() + ".list"));
        ++compared;
    }
    EXPECT_GE(compared, 15);
}

TEST(D64Image, ReadsNamesTypesAndBlocksOfC1541Image) {
    const auto image = Loaded("mixed.d64");
    EXPECT_EQ(image.Tracks(), 35);
    EXPECT_FALSE(image.HasErrorBytes());
    EXPECT_EQ(image.HeaderText1(), "FLOPPEX TEST");
    EXPECT_EQ(image.HeaderText2(), "FX 2A");

    const std::vector<std::string> names = {"hello", "basic game", "big one", "notes", "user data", "records"};
    const std::vector<std::string> types = {"prg", "prg", "prg", "seq", "usr", "rel"};
    ASSERT_EQ(image.Entries().Count(), names.size());
    for (size_t n = 1; n <= names.size(); ++n) {
        const auto& e = image.Entries().Item(n);
        EXPECT_EQ(e.Name().Ascii(), names[n - 1]);
        EXPECT_EQ(e.FileType(), types[n - 1]);
    }
    EXPECT_EQ(image.Entries().Item(1).Name().Unicode(), "HELLO");
    EXPECT_EQ(image.Entries().Item(3).Blocks(), "40");  // 10002 bytes, 254 per block
}

// c1541 allocates every block it writes in the BAM, so the directory's block counts and the
// free count add up to the 664 blocks of a 35-track disk outside track 18.
TEST(D64Image, BlocksAreDecimalAndAddUpWithBlocksFree) {
    for (const char* name : {"mixed.d64", "many.d64", "empty.d64", "cbmconvert.d64", "errors_ok.d64"}) {
        SCOPED_TRACE(name);
        const auto image = Loaded(name);
        EXPECT_EQ(SumOfBlocks(image) + image.BlocksFree(), 664);
    }
}

TEST(D64Image, ItemNumberEqualsEnumerationOrder) {
    const auto image = Loaded("many.d64");
    ASSERT_EQ(image.Entries().Count(), 20u);
    size_t n = 1;
    for (const auto& e : image.Entries()) {
        EXPECT_EQ(&image.Entries().Item(n), &e);
        EXPECT_EQ(e.Name().Ascii(), "file " + std::to_string(n));
        ++n;
    }
}

TEST(D64Image, KnowsTrackCountAndErrorBytesFromSize) {
    struct Case { const char* name; int tracks; bool errors; };
    for (const Case& c : {Case{"errors_ok.d64", 35, true}, Case{"tracks40.d64", 40, false},
                          Case{"tracks40_errors.d64", 40, true}, Case{"tracks42.d64", 42, false}}) {
        SCOPED_TRACE(c.name);
        const auto image = Loaded(c.name);
        EXPECT_EQ(image.Tracks(), c.tracks);
        EXPECT_EQ(image.HasErrorBytes(), c.errors);
        EXPECT_EQ(image.Entries().Count(), 6u);
    }
    // Tracks beyond 35 are not counted as free, as c1541 counts.
    EXPECT_EQ(Loaded("tracks40.d64").BlocksFree(), Loaded("mixed.d64").BlocksFree());
}

// A broken directory chain ends the listing with what was read so far.
TEST(D64Image, BrokenDirectoryChainKeepsEntriesReadSoFar) {
    EXPECT_EQ(Loaded("dirloop.d64").Entries().Count(), 20u);     // back to 18/1 after the last
    EXPECT_EQ(Loaded("dirlink99.d64").Entries().Count(), 8u);    // first sector links to track 99
    EXPECT_EQ(Loaded("dirsector30.d64").Entries().Count(), 16u); // second links to sector 30
    EXPECT_EQ(Loaded("errors_dir.d64").Entries().Count(), 8u);   // second sector has a read error

    // A directory sector that links to itself is read once.
    auto bytes = ReadBytes(Image("many.d64"));
    const size_t dir = 357 * 256 + 256;  // track 18, sector 1
    bytes[dir] = 18;
    bytes[dir + 1] = 1;
    D64Image image;
    ASSERT_TRUE(image.Load(bytes));
    EXPECT_EQ(image.Entries().Count(), 8u);
}

TEST(D64Image, RejectsFilesThatAreNoImage) {
    const auto good = ReadBytes(Image("mixed.d64"));
    D64Image image;
    for (size_t size : {size_t{0}, size_t{1}, good.size() - 1, good.size() + 1, size_t{174848 + 682}}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(std::min(size, good.size())));
        bytes.resize(size, 0);
        ASSERT_TRUE(image.Load(good));
        EXPECT_FALSE(image.Load(bytes));  // and nothing of the earlier image stays
        EXPECT_FALSE(image.Error().empty());
        EXPECT_EQ(image.Entries().Count(), 0u);
        EXPECT_TRUE(image.DiskName().bytes.empty());
    }

    // The header block itself marked unreadable by its error byte.
    auto withErrors = ReadBytes(Image("errors_ok.d64"));
    withErrors[174848 + 357] = 2;
    EXPECT_FALSE(image.Load(withErrors));

    testing::ScratchDir dir("d64");
    EXPECT_FALSE(image.Open(dir.Path() / "missing.d64"));
    EXPECT_FALSE(image.Error().empty());
    EXPECT_FALSE(image.Open(dir.Path()));
    testing::WriteBytes(dir.Path() / "empty.d64", {});
    EXPECT_FALSE(image.Open(dir.Path() / "empty.d64"));
    testing::WriteBytes(dir.Path() / "huge.d64", std::vector<uint8_t>(1 << 20, 0));
    EXPECT_FALSE(image.Open(dir.Path() / "huge.d64"));
    testing::WriteBytes(dir.Path() / "short.d64", std::vector<uint8_t>(good.begin(), good.end() - 256));
    EXPECT_FALSE(image.Open(dir.Path() / "short.d64"));
}

}  // namespace
}  // namespace floppex
