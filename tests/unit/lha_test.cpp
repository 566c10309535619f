// The LHA reader against archives jlha wrote from generated files and against the archive
// collection of the lhasa source package (LHarc, LHA, LArc, PMarc and others on DOS, Amiga, Atari,
// OS/2, OS-9, Mac, x68k and Unix), with lhasa's listing, test run and extraction of each archive as
// the reference; and damaged archives, which must never give wrong bytes as good.
#include <map>
#include <set>

#include "archive/lha_reader.h"
#include "fixtures.h"

namespace floppex::archive {
namespace {

using namespace floppex::testing;

fs::path Lha() { return FixtureDir("lha"); }

// Folder separators ('\', 0xFF) become '/', case is folded, "." and ".." are resolved (never above
// the top) and leading and trailing '/' dropped, as lhasa does before it writes a member.
std::string PathKey(std::string name) {
    for (char& c : name) c = c == '\\' || c == '\xFF' ? '/' : static_cast<unsigned char>(c) < 0x80 ? static_cast<char>(std::tolower(c)) : c;
    std::string key = fs::path("/" + name).lexically_normal().generic_string().substr(1);
    if (!key.empty() && key.back() == '/') key.pop_back();
    return key;
}

// Regular files below a folder (symbolic links left out), by PathKey of their relative path.
std::map<std::string, fs::path> FilesBelow(const fs::path& dir) {
    std::map<std::string, fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
        if (!e.is_symlink() && e.is_regular_file()) files[PathKey(fs::relative(e.path(), dir).generic_string())] = e.path();
    return files;
}

// Names are compared too unless sameNames is false: no checksum covers the type byte of a level 1
// extended header, so a change there can turn the header CRC into a file name.
void ExpectNoWrongBytes(const ReadResult& damaged, const ReadResult& intact, bool sameNames = true) {
    ASSERT_LE(damaged.members.size(), intact.members.size());
    for (size_t i = 0; i < damaged.members.size(); ++i) {
        if (sameNames) EXPECT_EQ(damaged.members[i].name, intact.members[i].name);
        EXPECT_TRUE(damaged.members[i].data == intact.members[i].data) << "member " << i << " differs";
    }
}

// Folder names are joined with '/', level 0 names kept as stored.
TEST(LhaReader, EveryMemberOfJlhaArchivesEqualsItsInput) {
    int archives = 0;
    for (const auto& entry : fs::directory_iterator(Lha() / "gen")) {
        const fs::path archive = entry.path();
        if (archive.extension() != ".lzh" || archive.filename().string().starts_with("sfx")) continue;
        SCOPED_TRACE(archive.filename().string());
        ++archives;
        const ReadResult result = ReadLha(ReadBytes(archive), ExtractLimits{});
        ASSERT_TRUE(result.ok()) << result.detail;
        ASSERT_EQ(result.members.size(), 8u) << "one member for each input file";
        int nested = 0;
        for (const auto& member : result.members) {
            const std::string key = PathKey(member.name);
            EXPECT_EQ(member.data, ReadBytes(Lha() / "inputs" / key)) << member.name;
            if (key != "dir/sub/file.txt") continue;
            EXPECT_EQ(member.name, archive.filename().string().starts_with("l0_") ? "dir\\sub\\file.txt" : "dir/sub/file.txt");
            ++nested;
        }
        EXPECT_EQ(nested, 1);
    }
    EXPECT_EQ(archives, 12) << "3 header levels x 4 methods expected";
}

// A BASIC stub (petcat) in front, or a stub with a fake header: the method text without a valid
// checksum must not be taken for the archive.
TEST(LhaReader, ArchiveBehindAProgramIsFound) {
    const Bytes plain = ReadBytes(Lha() / "gen" / "l1_5.lzh");
    const ReadResult expected = ReadLha(plain, ExtractLimits{});
    ASSERT_TRUE(expected.ok()) << expected.detail;
    Bytes decoy = ReadBytes(Lha() / "inputs" / "game.prg");
    EXPECT_EQ(ReadLha(decoy, ExtractLimits{}).error, ReadError::NotThisFormat);
    EXPECT_EQ(ReadLha({}, ExtractLimits{}).error, ReadError::NotThisFormat);
    const uint8_t fake[] = {0x19, 0x42, '-', 'l', 'h', '5', '-', 0x10, 0, 0, 0, 0x20, 0, 0,
                            0,    0,    0,   0,   0x20, 0, 3,   'A', 'B', 'C', 0, 0};
    decoy.insert(decoy.end(), std::begin(fake), std::end(fake));
    decoy.insert(decoy.end(), plain.begin(), plain.end());
    for (const Bytes& bytes : {ReadBytes(Lha() / "gen" / "sfx_l1_5.lzh"), decoy}) {
        const ReadResult result = ReadLha(bytes, ExtractLimits{});
        ASSERT_TRUE(result.ok()) << result.detail;
        ASSERT_EQ(result.members.size(), expected.members.size());
        ExpectNoWrongBytes(result, expected);
    }
}

// A method we do not decode: the member is passed over with its method named, the rest decoded.
// Old-style folder entries are skipped and junk after the end ignored.
TEST(LhaReader, UnknownMethodIsReportedOldFolderEntriesSkippedJunkAfterTheEndIgnored) {
    Bytes bytes = ReadBytes(Lha() / "gen" / "l0_5.lzh");
    const ReadResult full = ReadLha(bytes, ExtractLimits{});
    ASSERT_TRUE(full.ok()) << full.detail;
    ASSERT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 7), "-lh5-");
    bytes[5] = '2';
    bytes[1] = static_cast<uint8_t>(bytes[1] + '2' - '5');  // level 0 checksum: sum of the header bytes
    const ReadResult result = ReadLha(bytes, ExtractLimits{});
    EXPECT_TRUE(result.error == ReadError::UnsupportedMethod && result.detail == "-lh2-") << result.detail;
    ASSERT_EQ(result.members.size(), full.members.size() - 1);
    for (size_t i = 0; i < result.members.size(); ++i) EXPECT_EQ(result.members[i].data, full.members[i + 1].data);
    // old.lha: a level 0 folder entry, stored members (one empty), the end mark and junk after it.
    const ReadResult old = ReadLha(ReadBytes(Lha() / "old.lha"), ExtractLimits{});
    ASSERT_TRUE(old.ok() && old.members.size() == 2) << old.detail;
    EXPECT_EQ(old.members[0].name + "|" + old.members[1].name, "GAMES\\HELLO.PRG|EMPTY");
    EXPECT_EQ(old.members[0].data, ReadBytes(Lha() / "inputs" / "game.prg"));
    EXPECT_TRUE(old.members[1].data.empty());
}

TEST(LhaReader, LimitsStopDecoding) {
    const Bytes bytes = ReadBytes(Lha() / "gen" / "l2_7.lzh");
    const ReadResult full = ReadLha(bytes, ExtractLimits{});
    ASSERT_TRUE(full.ok() && full.members.size() >= 4) << full.detail;
    size_t largest = 0;
    for (const auto& m : full.members) largest = std::max(largest, m.data.size());
    const size_t firstThree = full.members[0].data.size() + full.members[1].data.size() + full.members[2].data.size();
    const std::pair<ExtractLimits, size_t> cases[] = {{ExtractLimits{.maxMembers = 2}, 2},
                                                      {ExtractLimits{.maxMemberBytes = largest - 1}, 0},
                                                      {ExtractLimits{.maxTotalBytes = firstThree - 1}, 2}};
    for (const auto& [limits, members] : cases) {
        const ReadResult r = ReadLha(bytes, limits);
        EXPECT_EQ(r.error, ReadError::TooLarge);
        if (members) EXPECT_EQ(r.members.size(), members);
        size_t total = 0;
        for (const auto& m : r.members)
            EXPECT_TRUE(m.data.size() <= limits.maxMemberBytes && (total += m.data.size()) <= limits.maxTotalBytes);
    }
}

// One archive per decoder: jlha's lh5 and lh7 (header levels 1 and 2), and from lhasa's collection
// LHarc's lh1, LArc's lz5 and lzs, and LHA's lh6 (level 0, Unix).
class LhaDamageTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
protected:
    void SetUp() override {
        bytes_ = ReadBytes(Lha() / GetParam().second);
        intact_ = ReadLha(bytes_, ExtractLimits{});
        ASSERT_TRUE(intact_.ok() && !intact_.members.empty()) << GetParam().second << ": " << intact_.detail;
    }
    // Size of the header at pos, read the published way: levels 0 and 1 store it less two bytes in
    // byte 0, level 2 in bytes 0-1.
    size_t HeaderSize(size_t pos) { return bytes_[pos + 20] == 2 ? bytes_[pos] | bytes_[pos + 1] << 8 : bytes_[pos] + 2u; }
    Bytes bytes_;
    ReadResult intact_;
};

TEST_P(LhaDamageTest, CutShortAnywhereFailsOrKeepsOnlyWholeMembers) {
    ForEachCut(bytes_, 100, [&](std::span<const uint8_t> cut, size_t n) {
        const ReadResult result = ReadLha(cut, ExtractLimits{});
        ExpectNoWrongBytes(result, intact_);
        if (result.ok()) {  // only a cut between members (or of the end marker) leaves a readable archive
            EXPECT_TRUE(result.members.size() < intact_.members.size() || n + 1 >= bytes_.size());
        } else if (n >= HeaderSize(0)) {
            EXPECT_EQ(result.error, ReadError::Damaged) << result.detail;
        } else {
            EXPECT_TRUE(result.error == ReadError::NotThisFormat || result.error == ReadError::Damaged);
        }
    });
}

// Every byte of every member's fixed header fields (each header follows the previous one's packed
// data, which includes the extended headers at level 1), and packed data here and there.
TEST_P(LhaDamageTest, ChangedByteFailsOrChangesNothing) {
    std::vector<size_t> positions;
    size_t headers = 0;
    for (size_t pos = 0; pos + 22 <= bytes_.size() && bytes_[pos] != 0; ++headers) {
        for (size_t i = pos; i < pos + 22; ++i) positions.push_back(i);
        pos += HeaderSize(pos) + (bytes_[pos + 7] | bytes_[pos + 8] << 8 | bytes_[pos + 9] << 16 | size_t{bytes_[pos + 10]} << 24);
    }
    ASSERT_EQ(headers, intact_.members.size());
    for (size_t i = 0; i < bytes_.size(); i += bytes_.size() / 200 + 1) positions.push_back(i);
    for (size_t at : positions) {
        for (uint8_t mask : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0xFF}}) {
            SCOPED_TRACE("byte " + std::to_string(at) + " xor " + std::to_string(mask));
            Bytes changed = bytes_;
            changed[at] ^= mask;
            const ReadResult result = ReadLha(changed, ExtractLimits{});
            if (result.error != ReadError::UnsupportedMethod) ExpectNoWrongBytes(result, intact_, false);
            if (result.ok()) EXPECT_EQ(result.members.size(), intact_.members.size());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Decoders, LhaDamageTest,
                         ::testing::Values(std::pair{"lh5", "gen/l1_5.lzh"}, std::pair{"lh7", "gen/l2_7.lzh"},
                                           std::pair{"lh1", "corpus/archives/lharc113/lh1.lzh"},
                                           std::pair{"lz5", "corpus/archives/larc333/lz5.lzs"},
                                           std::pair{"lzs", "corpus/archives/generated/lzs/lzs.lzs"},
                                           std::pair{"lh6", "corpus/archives/lha_unix114i/h0_lh6.lzh"}),
                         [](const auto& info) { return std::string(info.param.first); });

// Every decoded member must equal lhasa's file of the same name, and in an archive read in full
// lhasa's files and the members must be the same set. Where lhasa writes a different set than the
// archive holds (it gives up at a level 0 folder entry with an empty name, and will not write below
// a symbolic link) members are still CRC-checked and compared where lhasa wrote them.
TEST(LhaCorpus, EveryArchiveDecodesAsLhasaDoes) {
    const std::set<std::string> partial = {"lha_osk_201/h0_subdir.lzh", "lha_unix114i/h0_subdir.lzh",
                                           "regression/symlink2.lzh", "regression/symlink3.lzh"};
    const fs::path corpus = Lha() / "corpus", root = corpus / "archives";
    std::set<std::string> archives, methodsSeen;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(root, ec))
        if (e.is_regular_file() && e.path().filename() != "README") archives.insert(fs::relative(e.path(), root).generic_string());
    ASSERT_GE(archives.size(), 150u) << "lhasa's archive collection is missing from " << corpus
                                     << "; tests/fixtures/lha.sh fetches it with apt-get source lhasa (see corpus-fetch.log)";
    int decoded = 0, unsupported = 0;
    for (const auto& name : archives) {
        SCOPED_TRACE(name);
        const ReadResult result = ReadLha(ReadBytes(root / name), ExtractLimits{});
        const std::string listing = ReadText(corpus / (name + ".list"));
        if (ReadText(corpus / (name + ".test")) != "ok\n") {
            EXPECT_EQ(result.error, ReadError::Damaged) << "lhasa found this archive damaged";
            continue;
        }
        for (const std::string m : {"-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lz5-", "-lzs-", "-lz4-", "-pm0-"})
            if (listing.find(" " + m + " ") != std::string::npos) methodsSeen.insert(m);
        const bool unknownMethod = result.error == ReadError::UnsupportedMethod;  // it must be in lhasa's listing
        EXPECT_TRUE(unknownMethod ? listing.find(" " + result.detail + " ") != std::string::npos : result.ok()) << result.detail;
        ++(unknownMethod ? unsupported : decoded);
        auto extracted = FilesBelow(corpus / (name + ".x"));
        std::map<std::string, const ArchiveMember*> last;  // a later member of the same name wins
        for (const auto& member : result.members) last[PathKey(member.name)] = &member;
        for (const auto& [key, member] : last) {
            if (extracted.count(key)) EXPECT_EQ(member->data, ReadBytes(extracted[key])) << member->name;
            else EXPECT_TRUE(partial.count(name)) << member->name << ": lhasa wrote no such file";
        }
        for (const auto& [key, path] : extracted)
            EXPECT_TRUE(!result.ok() || partial.count(name) || last.count(key)) << "missing member " << key;
    }
    EXPECT_GE(decoded, 140);
    EXPECT_GE(unsupported, 5);
    EXPECT_EQ(methodsSeen.size(), 9u) << "the collection should exercise every decoded method";
}

}  // namespace
}  // namespace floppex::archive
