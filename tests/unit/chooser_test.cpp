// Which member of an archive is played.
#include <gtest/gtest.h>

#include "archive/member_chooser.h"

namespace floppex::archive {
namespace {

// The kind of choice and the chosen members in order ("one: z.d64"); the member at `stub` is too
// short for a load address.
std::string Chosen(const std::vector<std::string>& names, size_t stub = SIZE_MAX) {
    std::vector<ArchiveMember> members;
    for (const auto& n : names) members.push_back({n, {0x01, 0x08, 0x00}});
    if (stub < members.size()) members[stub].data = {0x01};
    const MemberChoice c = ChooseMembers(members);
    using enum MemberChoice::Kind;
    std::string text = c.kind == One ? "one:" : c.kind == Programs ? "programs:" : c.kind == Archive ? "archive:" : "nothing:";
    for (const size_t i : c.members) text += " " + members[i].name;
    return text;
}

TEST(MemberChooser, DiskBeforeTapeBeforeProgramsBeforeArchivesBeforeCartridgesEachInNaturalOrder) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a.prg", "b.t64", "z.d64", "c.zip"}, "one: z.d64"}, {{"a.prg", "b.t64", "c.zip"}, "one: b.t64"},
        {{"a.crt", "b.tap", "c.t64", "d.prg", "e.d81"}, "one: e.d81"}, {{"a.crt", "b.tap", "c.t64"}, "one: c.t64"},
        {{"a.crt", "b.tap", "d.prg"}, "one: b.tap"}, {{"a.crt", "d.prg"}, "one: d.prg"},
        {{"a.crt", "b.zip"}, "archive: b.zip"}, {{"readme.txt", "b.crt", "a.crt"}, "one: a.crt"},
        {{"inner.zip", "readme.txt", "a.prg"}, "one: a.prg"}, {{"readme.txt", "b.lnx", "a.gz"}, "archive: a.gz"},
        {{"readme.txt", "file_id.diz"}, "nothing:"},
        // A Mac's metadata twins sort first but are no C64 files.
        {{"__MACOSX/game/._game.d64", "game/._game.d64", "game/game.d64"}, "one: game/game.d64"},
        {{"__MACOSX/a.d64", "x/__MACOSX/b.d64", "c.d64"}, "one: c.d64"},
        {{"game-disk10.d64", "game-disk2.d64", "game-disk1.d64"}, "one: game-disk1.d64"},
        {{"Game (Side B).d64", "game (side a).D64"}, "one: game (side a).D64"},
        {{"x/disk02.d64", "a/disk2b.d64", "b/disk1.d64"}, "one: b/disk1.d64"},
        // The bare name comes before its numbered siblings; folders do not count for the order...
        {{"z/game-2.d64", "game.d64"}, "one: game.d64"},
        // ...unless the file names are equal.
        {{"b/x.prg", "a/x.prg"}, "programs: a/x.prg b/x.prg"},
    };
    for (const auto& [names, chosen] : cases) EXPECT_EQ(Chosen(names), chosen) << names.front();
    EXPECT_EQ(Chosen({"part10.prg", "part2.P00", "readme.txt", "part1.prg", "stub.prg"}, 4),
              "programs: part1.prg part2.P00 part10.prg");
    EXPECT_TRUE(NaturalLess("disk9", "disk10") && NaturalLess("disk009", "disk10"));
    EXPECT_FALSE(NaturalLess("DISK1", "disk1") || NaturalLess("disk1", "DISK1"));
}

}  // namespace
}  // namespace floppex::archive
