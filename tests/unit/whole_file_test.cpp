// Whole-file reading and writing: the size cap at its edge, files that are not there or not files,
// and replacing a longer file with a shorter one.
#include "c64/file_bytes.h"
#include "fixtures.h"

namespace floppex {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(WholeFile, ReadsUpToTheCapAndNoFurther) {
    ScratchDir dir("wholefile");
    constexpr size_t kCap = 200000;  // beyond one read step, so sizes past it need no second pass
    for (const size_t size : {size_t{0}, size_t{1}, kCap - 1, kCap, kCap + 1, kCap + 70000}) {
        const auto path = dir.Path() / ("f" + std::to_string(size));
        WriteBytes(path, Pattern(size));
        std::vector<uint8_t> out{1, 2, 3};
        const FileReadError error = ReadWholeFile(path, kCap, out);
        if (size <= kCap) {
            EXPECT_EQ(error, FileReadError::None) << size;
            EXPECT_EQ(out, Pattern(size)) << size;
        } else {
            EXPECT_EQ(error, FileReadError::TooLarge) << size;
            EXPECT_TRUE(out.empty()) << size;
        }
    }
    std::string reason;
    EXPECT_FALSE(ReadFileBytes(dir.Path() / ("f" + std::to_string(kCap + 1)), kCap, reason));
    EXPECT_NE(reason.find("too large"), std::string::npos) << reason;
}

TEST(WholeFile, MissingFilesAndFoldersAreErrors) {
    ScratchDir dir("wholefile");
    std::vector<uint8_t> out;
    EXPECT_EQ(ReadWholeFile(dir.Path() / "missing", 100, out), FileReadError::CannotOpen);
    EXPECT_NE(ReadWholeFile(dir.Path(), 100, out), FileReadError::None);
    EXPECT_FALSE(WriteWholeFile(dir.Path() / "no-such-folder" / "f", Pattern(10)));
    std::string reason;
    EXPECT_FALSE(ReadFileBytes(dir.Path() / "missing", 100, reason));
    EXPECT_EQ(reason, "cannot open the file");
}

TEST(WholeFile, WritingReplacesALongerFileWhole) {
    ScratchDir dir("wholefile");
    const auto path = dir.Path() / "out.d64";
    WriteBytes(path, Pattern(174848));
    const std::vector<uint8_t> shorter = {9, 8, 7, 6, 5};
    ASSERT_TRUE(WriteWholeFile(path, shorter));
    EXPECT_EQ(ReadBytes(path), shorter);
    ASSERT_TRUE(WriteWholeFile(path, {}));
    EXPECT_TRUE(ReadBytes(path).empty());
}

}  // namespace
}  // namespace floppex
