// Multi-disk games: which names form a set, and in which order.
#include <gtest/gtest.h>

#include "archive/archive_unpacker.h"
#include "archive/disk_set.h"
#include "archive/member_chooser.h"

namespace floppex::archive {
namespace {

// The set of the first name among all of them, as "name | name ...".
std::string SetOfFirst(const std::vector<std::string>& names) {
    std::string text;
    for (const size_t i : DiskSetOf(names, 0)) text += (text.empty() ? "" : " | ") + names[i];
    return text;
}

TEST(DiskSet, NamesOfOneTitleThatNumberDisksOrSidesFormASetInCountingOrder) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"Game (1987)(Maker)(Disk 10 of 10).d64", "Game (1987)(Maker)(Disk 2 of 10).d64", "Game (1987)(Maker)(Disk 1 of 10).d64"},
         "Game (1987)(Maker)(Disk 1 of 10).d64 | Game (1987)(Maker)(Disk 2 of 10).d64 | Game (1987)(Maker)(Disk 10 of 10).d64"},
        {{"Game (Disk 2 Side A).d64", "Game (Disk 1 Side B).d64", "x/Game (Disk 1 Side A).D64"},
         "x/Game (Disk 1 Side A).D64 | Game (Disk 1 Side B).d64 | Game (Disk 2 Side A).d64"},
        {{"Elite (1985)(Firebird)(Disk 1 of 2)(Side B).g64", "Elite (1985)(Firebird)(Disk 1 of 2)(Side A).g64"},
         "Elite (1985)(Firebird)(Disk 1 of 2)(Side A).g64 | Elite (1985)(Firebird)(Disk 1 of 2)(Side B).g64"},
        {{"LAST NINJA disk TWO.d64", "Last Ninja Disk One.d64"}, "Last Ninja Disk One.d64 | LAST NINJA disk TWO.d64"},
        {{"Zak - Side B.d64", "zak_side_a.d81"}, "zak_side_a.d81 | Zak - Side B.d64"},
        {{"mm_d2.d64", "MM-D1.d64", "mm_s1.d64"}, "mm_s1.d64 | MM-D1.d64 | mm_d2.d64"},  // sides alone count first
        // Tags in brackets must agree: another release's disk stays out.
        {{"Game (Disk 2 of 2)[cr ABC][t +3].d64", "Game (Disk 1 of 2)[cr XYZ].d64", "Game (Disk 1 of 2)[cr ABC][t +3].d64"},
         "Game (Disk 1 of 2)[cr ABC][t +3].d64 | Game (Disk 2 of 2)[cr ABC][t +3].d64"},
        // Two disks numbered 1 are both kept, in natural order, before disk 2.
        {{"Game (Disk 2).d64", "b/Game (Disk 1).d64", "a/Game (Disk 1).d64"},
         "a/Game (Disk 1).d64 | b/Game (Disk 1).d64 | Game (Disk 2).d64"},
        // Look-alikes: no mark, a mark alone, other titles, not a disk image.
        {{"Disk Demo 2.d64", "Disk Demo 3.d64"}, "Disk Demo 2.d64"},
        {{"1942.d64", "1943.d64"}, "1942.d64"},
        {{"Summer Games II.d64", "Summer Games.d64"}, "Summer Games II.d64"},
        {{"Side Arms (Disk 2).d64", "Side Arms.d64"}, "Side Arms (Disk 2).d64"},
        {{"Compilation (Disk 1).d64", "Other Game (Disk 2).d64"}, "Compilation (Disk 1).d64"},
        {{"Game (Disk 2).d64", "Game (Disk 1).t64"}, "Game (Disk 2).d64"},
        {{"Game (Disk 1).t64", "Game (Disk 2).d64"}, "Game (Disk 1).t64"},
    };
    for (const auto& [names, set] : cases) EXPECT_EQ(SetOfFirst(names), set) << names.front();
    EXPECT_FALSE(DiskMarkOf("Disk Demo 2.d64") || DiskMarkOf("Side Arms.d64") || DiskMarkOf("Dis 1.d64"));
    EXPECT_EQ(DiskMarkOf("a/Disk 3.d64")->title, "");
}

// The archive's first disk is its set's first, not the first name in natural order.
TEST(DiskSet, ArchivesPlayTheFirstDiskOfTheSet) {
    std::vector<ArchiveMember> members;
    for (const char* name : {"Game Disk Four.d64", "Game Disk Two.d64", "Game Disk Three.d64", "._Game Disk One.d64"})
        members.push_back({name, {1, 8, 0}});
    const MemberChoice choice = ChooseMembers(members);
    EXPECT_EQ(choice.members, std::vector<size_t>{1});
    EXPECT_EQ(choice.set, (std::vector<size_t>{1, 2, 0}));
}

// 200 disks of one set are too many to hand over: the first is played alone, and the count told.
// 200 games of one disk each form no set.
TEST(DiskSet, ASetTooLargeIsPlayedOneDiskAlone) {
    std::vector<ArchiveMember> set, games;
    for (uint8_t i = 200; i >= 1; --i) {
        set.push_back({"Big (Disk " + std::to_string(i) + " of 200).d64", {1, 8, i}});
        games.push_back({"Game " + std::to_string(i) + ".d64", {1, 8, i}});
    }
    const UnpackResult big = ChooseFrom("big.zip", set, {}), many = ChooseFrom("many.zip", games, {});
    EXPECT_TRUE(big.ok() && big.set.empty() && big.refusedSetDisks == 200 && big.data.back() == 1);
    EXPECT_TRUE(many.ok() && many.set.empty() && many.refusedSetDisks == 0 && many.data.back() == 1);
}

}  // namespace
}  // namespace floppex::archive
