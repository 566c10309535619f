// A second start: hand-off to the running window, or a window of its own when several are allowed.
#include "tests/e2e_test.h"

#include "driver/menu_probe.h"
#include "driver/message_box.h"

namespace floppex::e2e {
namespace {

class InstanceTest : public E2eTest {};

constexpr const wchar_t* kSwitchEntries[] = {L"&Options...", L"&Keep Window Open", L"Always On &Top",
                                             L"&Multiple Instances"};

std::string Describe(const std::vector<MenuEntry>& entries) {
    std::string text;
    for (const MenuEntry& entry : entries) text += std::to_string(entry.id) + " " + Narrow(entry.text) + "\n";
    return text;
}

TEST_F(InstanceTest, SecondStartHandsItsPathToTheRunningWindowAndEnds) {
    const ProgramFolder folder;
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo.d64");
    AppProcess first(folder.Exe(), L"");
    const MainWindowView window(WaitForListing(first, kNoGameLoaded));
    ASSERT_NE(window.Handle(), nullptr);
    // Every full start writes "OnTop"; a start that hands over writes nothing.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kWindowKey, L"OnTop");

    AppProcess second(folder.Exe(), disk);
    EXPECT_EQ(second.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_TRUE(window.WaitForFileLabel(L"demo.d64"));
    EXPECT_EQ(window.Rows().RowCount(), 6);
    EXPECT_FALSE(ValueType(HKEY_LOCAL_MACHINE, kWindowKey, L"OnTop").has_value());
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));

    // An empty request only brings the window forward, restored when minimised; its listing stays.
    ShowWindow(window.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window.Handle()) != 0; }));
    AppProcess third(folder.Exe(), L"");
    EXPECT_EQ(third.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    ASSERT_TRUE(window.Sync());
    EXPECT_FALSE(IsIconic(window.Handle()));
    EXPECT_EQ(window.FileLabel(), L"demo.d64");
    EXPECT_EQ(window.Rows().RowCount(), 6);
    EXPECT_TRUE(first.Running());
}

TEST_F(InstanceTest, HandOffCarriesALongPathWithBlanksWhole) {
    const ProgramFolder folder;
    std::wstring path = folder.Path();
    while (path.size() < 280) {
        path += L"\\a folder  with blanks";
        CreateDirectoryW(path.c_str(), nullptr);
    }
    path += L"\\a game.d64";
    ASSERT_TRUE(CopyOneFile(FixturePath(L"demo.d64"), path));
    AppProcess first(folder.Exe(), L"");
    const MainWindowView window(WaitForListing(first, kNoGameLoaded));
    ASSERT_NE(window.Handle(), nullptr);

    AppProcess second(folder.Exe(), path);
    EXPECT_EQ(second.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_TRUE(window.WaitForFileLabel(L"a game.d64")) << "path of " << path.size() << " characters not listed";
    EXPECT_EQ(window.Rows().RowCount(), 6);
}

TEST_F(InstanceTest, SenderWaitsUntilTheRunningWindowHasHandledItsRequest) {
    const ProgramFolder folder;
    AppProcess first(folder.Exe(), L"");
    ASSERT_NE(WaitForListing(first, kNoGameLoaded), nullptr);

    const std::wstring request = L"\"C:\\no such folder\\a \"quoted\"  game.d64\"";
    AppProcess second(folder.Exe(), request);
    const auto box = WaitForMessageBox(first.Pid());
    ASSERT_TRUE(box) << "the running window did not report the missing file";
    EXPECT_NE(box->text.find(request), std::wstring::npos) << Narrow(box->text);
    EXPECT_TRUE(second.Running());
    EXPECT_FALSE(HasVisibleWindow(second.Pid(), kMainWindowClass));
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(second.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
}

TEST_F(InstanceTest, WithMultipleAllowedASecondWindowOpensWithItsSwitchesDisabled) {
    WriteDword(HKEY_LOCAL_MACHINE, kWindowKey, L"Multiple", 0xFFFFFFFF);
    const ProgramFolder folder;
    AppProcess first(folder.Exe(), L"");
    const HWND firstWindow = WaitForListing(first, kNoGameLoaded);
    ASSERT_NE(firstWindow, nullptr);
    AppProcess second(folder.Exe(), L"");
    const HWND secondWindow = WaitForListing(second, kNoGameLoaded);
    ASSERT_NE(secondWindow, nullptr) << "no second window";
    // It opens somewhere on the screen, whatever the stored position says.
    const RECT placed = WindowRectOf(secondWindow);
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(placed.bottom, GetSystemMetrics(SM_CYSCREEN));

    const auto firstMenu = ReadContextMenu(firstWindow);
    const auto secondMenu = ReadContextMenu(secondWindow);
    ASSERT_TRUE(firstMenu && secondMenu) << "the window menu did not open";
    for (const wchar_t* text : kSwitchEntries) {
        SCOPED_TRACE(Narrow(text));
        const auto inFirst = FindEntry(*firstMenu, text);
        const auto inSecond = FindEntry(*secondMenu, text);
        ASSERT_TRUE(inFirst && inSecond) << "first menu:\n" << Describe(*firstMenu) << "second menu:\n" << Describe(*secondMenu);
        EXPECT_TRUE(inFirst->enabled);
        EXPECT_FALSE(inSecond->enabled);
    }
    EXPECT_TRUE(FindEntry(*secondMenu, L"&Multiple Instances")->checked);
    EXPECT_TRUE(FindEntry(*secondMenu, L"E&xit")->enabled);
}

TEST_F(InstanceTest, AMultipleValueOfTheWrongTypeCountsAsAbsent) {
    WriteString(HKEY_LOCAL_MACHINE, kWindowKey, L"Multiple", L"-1");
    const ProgramFolder folder;
    AppProcess first(folder.Exe(), L"");
    ASSERT_NE(WaitForListing(first, kNoGameLoaded), nullptr);
    AppProcess second(folder.Exe(), L"");
    EXPECT_EQ(second.WaitForExit(kPatienceMs), std::optional<DWORD>(0)) << "no hand-off";
    EXPECT_TRUE(first.Running());
}

}  // namespace
}  // namespace floppex::e2e
