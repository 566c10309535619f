// The LHA reader over the archive collection of the lhasa source package: archives from LHarc,
// LHA, LArc, PMarc and others on DOS, Amiga, Atari, OS/2, OS-9, Mac, x68k and Unix. Reference:
// lhasa's own test run, listing and extraction of each archive.
#include <gtest/gtest.h>

#include <set>

#include "archive/lha_reader.h"
#include "lha_test_files.h"

namespace floppex::archive {
namespace {

using namespace floppex::lha_test;

// Archives where lhasa writes a different set of files than the archive holds: it gives up at a
// level 0 folder entry with an empty name, and will not write a file below a symbolic link. Their
// members are still CRC-checked and compared where lhasa wrote them.
const std::set<std::string> kPartialLhasaOutput = {"lha_osk_201/h0_subdir.lzh", "lha_unix114i/h0_subdir.lzh",
                                                   "regression/symlink2.lzh", "regression/symlink3.lzh"};

struct CorpusArchive {
    std::string name;  // relative to the collection
    fs::path path;
    fs::path reference;  // lhasa's output: <reference>.list, .test, .x/
};

std::vector<CorpusArchive> Collection() {
    std::vector<CorpusArchive> archives;
    fs::path corpus = FixtureDir() / "corpus";
    fs::path root = corpus / "archives";
    if (!fs::is_directory(root)) return archives;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
        std::string name = fs::relative(entry.path(), root).generic_string();
        archives.push_back({name, entry.path(), corpus / name});
    }
    std::sort(archives.begin(), archives.end(), [](auto& a, auto& b) { return a.name < b.name; });
    return archives;
}

bool ListingHasMethod(const std::string& listing, const std::string& method) {
    return listing.find(" " + method + " ") != std::string::npos;
}

// Every decoded member must equal lhasa's file of the same name, and in an archive read in full
// lhasa's files and the members must be the same set.
void CompareWithLhasa(const CorpusArchive& archive, const ReadResult& result) {
    auto extracted = FilesBelow(fs::path(archive.reference.string() + ".x"));
    std::map<std::string, const ArchiveMember*> last;  // a later member of the same name wins
    for (const auto& member : result.members) last[PathKey(member.name)] = &member;
    bool partial = kPartialLhasaOutput.count(archive.name) > 0;
    for (const auto& [key, member] : last) {
        SCOPED_TRACE(member->name);
        if (!extracted.count(key)) {
            EXPECT_TRUE(partial) << "lhasa wrote no such file";
            continue;
        }
        EXPECT_EQ(member->data, ReadBytes(extracted[key]));
    }
    if (result.ok() && !partial) {
        for (const auto& [key, path] : extracted) EXPECT_TRUE(last.count(key)) << "missing member " << key;
    }
}

TEST(LhaCorpus, EveryArchiveDecodesAsLhasaDoes) {
    auto archives = Collection();
    ASSERT_GE(archives.size(), 150u)
        << "lhasa's archive collection is missing from " << (FixtureDir() / "corpus")
        << "; tests/fixtures/lha.sh fetches it with apt-get source lhasa (see corpus-fetch.log)";
    int decoded = 0;
    int unsupported = 0;
    std::set<std::string> methodsSeen;
    for (const auto& archive : archives) {
        SCOPED_TRACE(archive.name);
        ReadResult result = ReadLha(ReadBytes(archive.path), ExtractLimits{});
        std::string listing = ReadText(archive.reference.string() + ".list");
        bool lhasaTestPassed = ReadText(archive.reference.string() + ".test") == "ok\n";
        if (!lhasaTestPassed) {
            EXPECT_EQ(result.error, ReadError::Damaged) << "lhasa found this archive damaged";
            continue;
        }
        if (result.error == ReadError::UnsupportedMethod) {
            EXPECT_TRUE(ListingHasMethod(listing, result.detail)) << result.detail;
            ++unsupported;
        } else {
            ASSERT_TRUE(result.ok()) << result.detail;
            ++decoded;
        }
        for (const auto& m : {"-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lz5-", "-lzs-", "-lz4-", "-pm0-"}) {
            if (ListingHasMethod(listing, m)) methodsSeen.insert(m);
        }
        CompareWithLhasa(archive, result);
    }
    EXPECT_GE(decoded, 140);
    EXPECT_GE(unsupported, 5);
    EXPECT_EQ(methodsSeen.size(), 9u) << "the collection should exercise every decoded method";
}

}  // namespace
}  // namespace floppex::archive
