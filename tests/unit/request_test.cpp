// Sorting requests, command-line tails and file names into what the window does with them.
#include <gtest/gtest.h>

#include "app/command_line_logic.h"
#include "components/system/path_parts.h"
#include "launch/request_logic.h"
#include "launch/run_game_logic.h"
#include "open/file_type_logic.h"

namespace floppex {
namespace {

TEST(CommandTail, SkipsProgramNameAndFollowingBlanksOnly) {
    EXPECT_EQ(CommandTail(L"C:\\Floppex\\Floppex.exe"), L"");
    EXPECT_EQ(CommandTail(L"Floppex.exe   "), L"");
    EXPECT_EQ(CommandTail(L"Floppex.exe C:\\games\\a b.d64"), L"C:\\games\\a b.d64");
    EXPECT_EQ(CommandTail(L"Floppex.exe \t -p  x.d64 "), L"-p  x.d64 ");
    EXPECT_EQ(CommandTail(L"\"C:\\Program Files\\Floppex.exe\" \"C:\\x y.t64\""), L"\"C:\\x y.t64\"");
    // The closing quote ends the name even when no blank follows it.
    EXPECT_EQ(CommandTail(L"\"C:\\a b\\Floppex.exe\"game.prg"), L"game.prg");
    EXPECT_EQ(CommandTail(L"\"unterminated name"), L"");
    EXPECT_EQ(CommandTail(L""), L"");
}

TEST(CommandTail, KeepsAVeryLongTailWhole) {
    const std::wstring path(32000, L'x');
    EXPECT_EQ(CommandTail(L"Floppex.exe " + path), path);
}

TEST(ParseRequest, PlayPrefixIsThreeCharactersAnyCase) {
    EXPECT_EQ(ParseRequest(L"").kind, RequestKind::Empty);
    for (const wchar_t* req : {L"-p C:\\a.d64", L"-P C:\\a.d64"}) {
        const Request r = ParseRequest(req);
        EXPECT_EQ(r.kind, RequestKind::Play) << req;
        EXPECT_EQ(r.path, L"C:\\a.d64");
    }
    // The path behind the prefix is verbatim: blanks and quotes stay.
    EXPECT_EQ(ParseRequest(L"-p  \"x.d64\" ").path, L" \"x.d64\" ");
    EXPECT_EQ(ParseRequest(L"-p ").kind, RequestKind::Play);
    EXPECT_EQ(ParseRequest(L"-p ").path, L"");
}

TEST(ParseRequest, AnythingElseIsAPathToOpen) {
    for (const wchar_t* req : {L"-pC:\\a.d64", L"-p", L"-p\tx.d64", L" -p x.d64", L"-q x.d64", L"\"a.d64\""}) {
        const Request r = ParseRequest(req);
        EXPECT_EQ(r.kind, RequestKind::Open) << req;
        EXPECT_EQ(r.path, req);
    }
}

TEST(FileTypes, ClassesByUpperCasedEnding) {
    for (const wchar_t* name : {L"a.d64", L"A.T64", L"x.Prg", L"x.p00", L"x.P05", L"x.p09", L".d64"})
        EXPECT_EQ(ClassifyGameFile(name), FileClass::Listable) << name;
    for (const wchar_t* name : {L"a.lha", L"a.LZH", L"a.Zip", L"a.lnx", L"a.gz", L"a.tar.GZ", L".gz"})
        EXPECT_EQ(ClassifyGameFile(name), FileClass::Archive) << name;
    for (const wchar_t* name : {L"a.tap", L"a.p10", L"a.p0x", L"a.d64.txt", L"a.d64 ", L"a.tgz", L"", L"gz", L"a.zip\""})
        EXPECT_EQ(ClassifyGameFile(name), FileClass::Other) << name;
}

// Single programs are played at once, and their entry is never remembered.
TEST(FileTypes, OnlyP00AndPrgAreSinglePrograms) {
    for (const wchar_t* name : {L"a.prg", L"a.PRG", L"a.p00", L"a.P00", L"x\\y.P00"}) {
        EXPECT_TRUE(IsSingleProgramName(name)) << name;
        EXPECT_FALSE(RemembersEntry(name)) << name;
    }
    for (const wchar_t* name :
         {L"a.p01", L"a.P09", L"a.d64", L"currgame.t64", L"a.gz", L"a.tap", L"prg", L"a.prg.zip", L""}) {
        EXPECT_FALSE(IsSingleProgramName(name)) << name;
        EXPECT_TRUE(RemembersEntry(name)) << name;
    }
}

TEST(FileTypes, UpperTailOfShortText) {
    EXPECT_EQ(UpperTail(L"ab", 4), L"AB");
    EXPECT_EQ(UpperTail(L"game.d64", 4), L".D64");
    // Only ASCII letters change: other characters compare as they are.
    EXPECT_EQ(UpperTail(L"x.\u00e4z", 3), L".\u00e4Z");
}

TEST(PathParts, NameIsWhatFollowsTheLastSeparator) {
    const auto split = [](std::wstring_view path) {
        const PathParts parts = SplitPathParts(path);
        return std::wstring(parts.folder) + L"|" + std::wstring(parts.name);
    };
    EXPECT_EQ(split(L"C:\\games\\Game One.d64"), L"C:\\games\\|Game One.d64");
    EXPECT_EQ(split(L"game.d64"), L"|game.d64");
    EXPECT_EQ(split(L"C:game.d64"), L"C:|game.d64");
    EXPECT_EQ(split(L"C:\\"), L"C:\\|");
    EXPECT_EQ(split(L"\\\\server\\share\\x.t64"), L"\\\\server\\share\\|x.t64");
    EXPECT_EQ(split(L"Z:/tmp/a b/x.prg"), L"Z:/tmp/a b/|x.prg");
    // Quotes are no separators: a quoted request keeps its closing quote in the name.
    EXPECT_EQ(split(L"\"C:\\a b\\x.d64\""), L"\"C:\\a b\\|x.d64\"");
    EXPECT_EQ(split(L""), L"|");
}

}  // namespace
}  // namespace floppex
