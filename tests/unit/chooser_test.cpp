// Which member of an archive is played.
#include <gtest/gtest.h>
#include "archive/member_chooser.h"

namespace floppex::archive {
namespace {

std::vector<ArchiveMember> Members(std::initializer_list<std::string> names) {
    std::vector<ArchiveMember> members;
    for (const auto& n : names) members.push_back({n, {0x01, 0x08, 0x00}});
    return members;
}

std::vector<std::string> Chosen(const std::vector<ArchiveMember>& members, MemberChoice::Kind kind) {
    const MemberChoice c = ChooseMembers(members);
    EXPECT_EQ(c.kind, kind);
    std::vector<std::string> names;
    for (const size_t i : c.members) names.push_back(members[i].name);
    return names;
}

TEST(MemberChooser, DiskBeforeTapeBeforeProgramsBeforeArchives) {
    using K = MemberChoice::Kind;
    EXPECT_EQ(Chosen(Members({"a.prg", "b.t64", "z.d64", "c.zip"}), K::One), std::vector<std::string>{"z.d64"});
    EXPECT_EQ(Chosen(Members({"a.prg", "b.t64", "c.zip"}), K::One), std::vector<std::string>{"b.t64"});
    EXPECT_EQ(Chosen(Members({"inner.zip", "readme.txt", "a.prg"}), K::One), std::vector<std::string>{"a.prg"});
    EXPECT_EQ(Chosen(Members({"readme.txt", "b.lnx", "a.gz"}), K::Archive), std::vector<std::string>{"a.gz"});
    EXPECT_TRUE(Chosen(Members({"readme.txt", "file_id.diz"}), K::Nothing).empty());
    // A Mac's metadata twins sort first but are no C64 files.
    EXPECT_EQ(Chosen(Members({"__MACOSX/game/._game.d64", "game/._game.d64", "game/game.d64"}), K::One),
              std::vector<std::string>{"game/game.d64"});
}

TEST(MemberChooser, PicksTheLowestNumberedDiskAndTheFirstSide) {
    using K = MemberChoice::Kind;
    EXPECT_EQ(Chosen(Members({"game-disk10.d64", "game-disk2.d64", "game-disk1.d64"}), K::One),
              std::vector<std::string>{"game-disk1.d64"});
    EXPECT_EQ(Chosen(Members({"Game (Side B).d64", "game (side a).D64"}), K::One),
              std::vector<std::string>{"game (side a).D64"});
    EXPECT_EQ(Chosen(Members({"x/disk02.d64", "a/disk2b.d64", "b/disk1.d64"}), K::One),
              std::vector<std::string>{"b/disk1.d64"});
    // The bare name comes before its numbered siblings; folders do not count for the order.
    EXPECT_EQ(Chosen(Members({"z/game-2.d64", "game.d64"}), K::One), std::vector<std::string>{"game.d64"});
    EXPECT_TRUE(NaturalLess("disk9", "disk10"));
    EXPECT_TRUE(NaturalLess("disk009", "disk10"));
    EXPECT_FALSE(NaturalLess("DISK1", "disk1"));
    EXPECT_FALSE(NaturalLess("disk1", "DISK1"));
}

TEST(MemberChooser, GathersEveryProgramInOrderAndSkipsEmptyOnes) {
    using K = MemberChoice::Kind;
    auto members = Members({"part10.prg", "part2.P00", "readme.txt", "part1.prg", "stub.prg"});
    members[4].data = {0x01};  // too short for a load address
    EXPECT_EQ(Chosen(members, K::Programs), (std::vector<std::string>{"part1.prg", "part2.P00", "part10.prg"}));
    // Equal file names go by their folders.
    EXPECT_EQ(Chosen(Members({"b/x.prg", "a/x.prg"}), K::Programs), (std::vector<std::string>{"a/x.prg", "b/x.prg"}));
}

}  // namespace
}  // namespace floppex::archive
