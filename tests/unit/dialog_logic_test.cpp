// The dialogs' and the drop's decisions: the options dialog's check of the default emulator, the
// open dialog's filter and answer, the dropped file list.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "open/file_choice_logic.h"
#include "options/options_logic.h"

namespace floppex {
namespace {

using namespace std::string_literals;

TEST(Options, DefaultEmulatorWithoutPathRefusedOnlyWhenSeveralOthersHavePaths) {
    struct Case { std::vector<int> configured; int selected; DefaultVerdict verdict; int stored; };
    const Case cases[] = {
        {{}, 4, DefaultVerdict::Accept, 4},                // nothing set: the selection stays
        {{2, 4, 9}, 4, DefaultVerdict::Accept, 4},         // the selected one has a path
        {{7}, 0, DefaultVerdict::SelectOnlyOne, 7},        // the only one set is chosen
        {{0, 10}, 5, DefaultVerdict::Refuse, 5},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> paths(11);
        for (const int i : c.configured) paths[i] = L"C:\\emu\\x64.exe";
        const DefaultCheck check = CheckDefaultEmulator(paths, c.selected);
        EXPECT_EQ(check.verdict, c.verdict) << c.selected;
        EXPECT_EQ(check.emulator, c.stored) << c.selected;
    }
    for (const int16_t stored : {0, 10}) EXPECT_EQ(ListPositionForDefault(stored), stored);
    for (const int16_t stored : {-1, 11, 15, 32767, -32768}) EXPECT_EQ(ListPositionForDefault(stored), 0);
}

TEST(OpenDialog, FilterAndAnswerReadAsOnePathOrAFolderWithNames) {
    struct Case { std::wstring buffer, folder; std::vector<std::wstring> paths; bool several; };
    EXPECT_EQ(DialogFilter(L"X64.exe|x64.exe;x64sc.exe"), L"X64.exe\0x64.exe;x64sc.exe\0\0"s);
    const Case cases[] = {
        {L"C:\\g\\a b.d64\0\0"s, L"", {L"C:\\g\\a b.d64"}, false},
        {L"C:\\g\\a.d64\0"s, L"", {L"C:\\g\\a.d64"}, false},
        {L"C:\\\0a.d64\0b.t64\0\0"s, L"C:\\", {L"C:\\a.d64", L"C:\\b.t64"}, true},  // a root: one separator
        {L"C:\\g\0a.d64\0\0\0b.t64\0\0"s, L"C:\\g", {L"C:\\g\\a.d64"}, true},      // ends at the double end
        {L"C:\\g\0a.d64"s, L"C:\\g", {L"C:\\g\\a.d64"}, true},                     // last name unterminated
        {L"\0\0"s, L"", {}, false},
    };
    for (const Case& c : cases) {
        const OpenSelection selection = ReadOpenResult(c.buffer);
        EXPECT_EQ(selection.folder, c.folder);
        EXPECT_EQ(selection.paths, c.paths);
        EXPECT_EQ(selection.several, c.several);
    }
}

std::vector<std::byte> DropBlock(uint32_t offset, uint32_t wide, const void* names, size_t size) {
    std::vector<std::byte> block(20 + size);
    std::memcpy(block.data(), &offset, 4);
    std::memcpy(block.data() + 16, &wide, 4);
    std::memcpy(block.data() + 20, names, size);
    return block;
}

TEST(Drop, FirstNameOfTheFileListOnlyWhenTheBlockHoldsOne) {
    const char16_t wideNames[] = u"C:\\\u00e9\u0416.d64\0b.txt\0";
    const auto wide = FirstDroppedName(DropBlock(20, 1, wideNames, sizeof wideNames));
    ASSERT_TRUE(wide && wide->wide);
    EXPECT_EQ(wide->wideName, L"C:\\\u00e9\u0416.d64");
    const char narrowNames[] = "a.t64\0b.d64\0";
    const auto narrow = FirstDroppedName(DropBlock(20, 0, narrowNames, sizeof narrowNames));
    ASSERT_TRUE(narrow && !narrow->wide);
    EXPECT_EQ(narrow->codePageName, "a.t64");
    const char16_t unterminated[] = {u'a', u'.', u'd'};
    EXPECT_EQ(FirstDroppedName(DropBlock(20, 1, unterminated, sizeof unterminated))->wideName, L"a.d");
    const char16_t none[] = u"\0";
    for (const auto& bad : {DropBlock(20, 1, none, sizeof none), DropBlock(0, 1, wideNames, sizeof wideNames),
                            DropBlock(4000, 1, wideNames, sizeof wideNames), std::vector<std::byte>(19)})
        EXPECT_FALSE(FirstDroppedName(bad));
    EXPECT_EQ(JudgeDrop(false, L"a.d64"), DropOutcome::DataTypeNotSupported);
    EXPECT_EQ(JudgeDrop(true, L"a.g64.zip"), DropOutcome::Open);  // any type opening takes (see FileType)
    EXPECT_EQ(JudgeDrop(true, L"a.txt"), DropOutcome::FileNotSupported);
}

}  // namespace
}  // namespace floppex
