// Disk images made by c1541 and cbmconvert (tests/fixtures/images.sh), checked against the
// listing c1541 itself prints for them.
#include "c64/d64_image.h"
#include "c64/listing_text.h"
#include "fixtures.h"

namespace floppex {
namespace {

using namespace testing;

fs::path Image(const std::string& name) { return FixtureDir("images") / name; }

D64Image Loaded(const std::string& name) {
    D64Image image;
    EXPECT_TRUE(image.Open(Image(name))) << name << ": " << image.Error();
    return image;
}

// Every fixture image lists exactly as c1541 lists it: good ones, odd names and types, broken or
// looping directory chains, read errors, 40 and 42 tracks, directories that reach the tracks of
// 17 sectors, a file of more than 255 blocks.
TEST(D64Image, ListingEqualsC1541ForEveryFixtureImage) {
    int compared = 0;
    for (const auto& file : fs::directory_iterator(FixtureDir("images"))) {
        if (file.path().extension() != ".d64") continue;
        EXPECT_EQ(C1541Listing(Loaded(file.path().filename().string())), ReadText(file.path().string() + ".list"))
            << file.path().filename();
        ++compared;
    }
    EXPECT_GE(compared, 19);
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
    size_t n = 1;
    for (const auto& e : image.Entries()) {
        EXPECT_EQ(&image.Entries().Item(n), &e);
        EXPECT_EQ(e.Name().Ascii(), names[n - 1]);
        EXPECT_EQ(e.FileType(), types[n++ - 1]);
    }
    EXPECT_EQ(image.Entries().Item(1).Name().Unicode(), "HELLO");
    EXPECT_EQ(image.Entries().Item(3).Blocks(), "40");  // 10002 bytes, 254 per block
    EXPECT_EQ(Loaded("long.d64").Entries().Item(2).Blocks(), "300");
}

TEST(D64Image, KnowsTrackCountAndErrorBytesFromSize) {
    struct Case { const char* name; int tracks; bool errors; };
    for (const Case& c : {Case{"errors_ok.d64", 35, true}, Case{"tracks40.d64", 40, false},
                          Case{"tracks40_errors.d64", 40, true}, Case{"tracks42.d64", 42, false}}) {
        const auto image = Loaded(c.name);
        EXPECT_EQ(image.Tracks(), c.tracks) << c.name;
        EXPECT_EQ(image.HasErrorBytes(), c.errors) << c.name;
        EXPECT_EQ(image.Entries().Count(), 6u) << c.name;
    }
}

TEST(D64Image, RejectsFilesThatAreNoImage) {
    const auto good = ReadBytes(Image("mixed.d64"));
    D64Image image;
    for (size_t size : {size_t{0}, size_t{1}, good.size() - 256, good.size() - 1, good.size() + 1, size_t{174848 + 682},
                        size_t{1} << 20}) {
        Bytes bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(std::min(size, good.size())));
        bytes.resize(size, 0);
        ASSERT_TRUE(image.Load(good));
        EXPECT_FALSE(image.Load(bytes)) << size;  // and nothing of the earlier image stays
        EXPECT_FALSE(image.Error().empty());
        EXPECT_EQ(image.Entries().Count(), 0u);
        EXPECT_TRUE(image.DiskName().bytes.empty());
    }
    auto withErrors = ReadBytes(Image("errors_ok.d64"));
    withErrors[174848 + 357] = 2;  // the header block itself unreadable
    EXPECT_FALSE(image.Load(withErrors));
    ScratchDir dir("d64");
    EXPECT_FALSE(image.Open(dir.Path() / "missing.d64"));
    EXPECT_FALSE(image.Error().empty());
    EXPECT_FALSE(image.Open(dir.Path()));
}

}  // namespace
}  // namespace floppex
