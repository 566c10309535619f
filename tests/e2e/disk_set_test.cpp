// Multi-disk games: a set found beside the opened disk or in its archive, stepped through with
// Ctrl+Page Down and Ctrl+Page Up, and handed to VICE (the stand-in) with a flip list of it.
#include "driver.h"

namespace floppex::e2e {
namespace {

using Args = std::vector<std::wstring>;
const std::wstring kDisks[] = {L"Game (Disk 1 of 3).d64", L"Game (Disk 2 of 3).d64", L"Game (Disk 3 of 3).d64"};

std::wstring Label(int disk) { return kDisks[disk - 1] + L" - Disk " + std::to_wstring(disk) + L" of 3"; }

// The flip list's lines, each path as its long form (a name outside the code page is listed short).
Args FlipList(const std::wstring& path) {
    std::istringstream in(ReadWholeFile(path));
    Args lines;
    for (std::string line; std::getline(in, line);) {
        std::wstring text(line.begin(), line.end()), full(32768, L'\0');
        const DWORD length = GetLongPathNameW(text.c_str(), full.data(), 32768);
        lines.push_back(length ? full.substr(0, length) : text);
    }
    return lines;
}

struct SetFolder : ProgramFolder {
    SetFolder() : ProgramFolder(L"with  blanks") { WriteDword(kIntegersKey, L"DefEmu", 3); }
    const std::wstring vice = InstallEmulator(*this, 3), list = File(L"currgame.vfl");
};

// Opened from its folder (a name outside the code page), disk 2 shows as such; Play hands VICE the
// three disks beginning with disk 2, so that "next" brings disk 3. A lone "1942.d64" gets no list.
TEST(DiskSetTest, PlayOnDiskTwoOfAFolderSetHandsViceTheSetWithDiskThreeNext) {
    const SetFolder folder;
    const std::wstring sub = L"\u0141\u00f3d\u017a games\\", games = folder.File(sub.substr(0, sub.size() - 1));
    const wchar_t* fixtures[] = {L"play.d64", L"demo.d64", L"many.d64"};
    ASSERT_TRUE(CreateDirectoryW(games.c_str(), nullptr));
    for (int i = 0; i < 3; ++i) folder.AddFixture(fixtures[i], sub + kDisks[i]);
    folder.AddFixture(L"play.d64", sub + L"1942.d64");
    const auto disk = [&](int n) { return games + L"\\" + kDisks[n - 1]; };
    {
        AppProcess app(folder.Exe(), disk(2));
        ASSERT_TRUE(WaitForListing(app, Label(2)).PlayRow(1));
        ASSERT_TRUE(WaitUntil([&] { return !LaunchesOf(folder.vice).empty(); }));
        EXPECT_EQ(LaunchesOf(folder.vice)[0].argv, (Args{folder.vice, L"-flipname", folder.list, L"-autostart", disk(2) + L":second"}));
        EXPECT_EQ(FlipList(folder.list), (Args{L"# Vice fliplist file", L"", L"UNIT 8", disk(2), disk(3), disk(1)}));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
        EXPECT_TRUE(folder.IniHas("Game (Disk 2 of 3).d64=2"));
    }
    AppProcess app(folder.Exe(), games + L"\\1942.d64");
    ASSERT_TRUE(WaitForListing(app, L"1942.d64").PlayRow(0));
    ASSERT_TRUE(WaitUntil([&] { return LaunchesOf(folder.vice).size() == 2; }));
    EXPECT_EQ(LaunchesOf(folder.vice)[1].argv, (Args{folder.vice, L"-autostart", games + L"\\1942.d64:alpha"}));
}

// A zipped set lists disk 1, steps to disks 2 and 3 and back (no further than the last); Play on
// disk 2 plays its unpacked copy with the list, remembers the entry under "archive|disk" and the
// disk for the set, and the next opening shows disk 2 again.
TEST(DiskSetTest, AZippedSetListsDiskOneStepsThroughItAndOpensOnTheDiskLastPlayed) {
    const SetFolder folder;
    const std::wstring zip = folder.AddFixture(L"set.zip", L"set.zip");
    {
        AppProcess app(folder.Exe(), zip);
        const MainWindow window = WaitForListing(app, Label(1));
        for (const auto& [key, disk] : {std::pair{VK_NEXT, 2}, {VK_NEXT, 3}, {VK_NEXT, 3}, {VK_PRIOR, 2}}) {
            ASSERT_TRUE(TypeCtrlKey(window.Handle(), key));
            EXPECT_TRUE(window.WaitForFileLabel(Label(disk))) << window.FileLabel();
        }
        ASSERT_TRUE(window.PlayRow(2));
        ASSERT_TRUE(WaitUntil([&] { return !LaunchesOf(folder.vice).empty(); }));
        const auto unpacked = [&](int n) { return folder.File(L"currgame-" + std::to_wstring(n) + L".d64"); };
        EXPECT_EQ(LaunchesOf(folder.vice)[0].argv, (Args{folder.vice, L"-flipname", folder.list, L"-autostart", unpacked(2) + L":third"}));
        EXPECT_EQ(FlipList(folder.list), (Args{L"# Vice fliplist file", L"", L"UNIT 8", unpacked(2), unpacked(3), unpacked(1)}));
        EXPECT_EQ(ReadWholeFile(unpacked(3)), ReadWholeFile(Fixture(L"many.d64")));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
    EXPECT_TRUE(folder.IniHas("set.zip|Game (Disk 2 of 3).d64=3") && folder.IniHas("set.zip=Game (Disk 2 of 3).d64"));
    AppProcess app(folder.Exe(), zip);
    const MainWindow window = WaitForListing(app, Label(2));
    EXPECT_EQ(window.SelectedRow(), 2);
}

}  // namespace
}  // namespace floppex::e2e
