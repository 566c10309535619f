// A second start: it hands its request to the running window, or opens a window of its own when several are allowed.
#include "dialog_driver.h"

#include <winternl.h>

#include <map>

namespace floppex::e2e {
namespace {

// "Multiple" stored with the wrong type (text) counts as absent: every second start hands over.
TEST(InstanceTest, SecondStartsHandOverUntilMultipleIsTrueThenChosenFilesOpenAWindowEach) {
    const ProgramFolder deep(L"deep"), folder;  // deep: folders too long to be cleaned up, apart from the program
    WriteString(kWindowKey, L"Multiple", L"-1");
    WriteString(kPathsKey, L"LastOpenPath", folder.Path());
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo.d64");
    std::wstring longPath = deep.Path();
    while (longPath.size() < 280) CreateDirectoryW((longPath += L"\\a folder  with blanks").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(disk.c_str(), (longPath + L"\\a game.d64").c_str(), FALSE));
    // Named with a command line near the longest Windows allows (32,767 characters), it is found
    // only when the request arrives whole.
    while (longPath.size() < 32500) longPath += L"\\.";
    longPath += L"\\a game.d64";
    AppProcess first(folder.Exe(), L"");
    const MainWindow window = WaitForListing(first, kNoGameLoaded);
    ASSERT_NE(window.Handle(), nullptr);
    // Every full start writes "OnTop"; a start that hands over writes nothing.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kWindowKey, L"OnTop");

    // The sender waits until the running window has handled its request: here, reported it.
    const std::wstring missing = L"\"C:\\no such folder\\a \"quoted\"  game.d64\"";
    {
        AppProcess second(folder.Exe(), missing);
        const auto box = WaitForMessageBox(first.Pid());
        ASSERT_TRUE(box) << "the running window did not report the missing file";
        EXPECT_EQ(box->text, L"File not found:\n" + missing);
        EXPECT_TRUE(second.Running());
        EXPECT_FALSE(FirstVisible(second.Pid(), kMainWindowClass));
        ASSERT_TRUE(box->PressOk());
        EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
    }
    // While the running window is hidden from the search (unpacking, its caption "Extracting ..."), a second start
    // waits for it, up to 5 s, and hands over once it is back. It opens the instance mutex right before its first
    // search; held after that while the window comes back, it finds it when let go, however long that took.
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Floppex.RunningInstance");  // the first's, ours: 2 handles
    PUBLIC_OBJECT_BASIC_INFORMATION handles{};
    const auto opened = [&] { return !NtQueryObject(mutex, ObjectBasicInformation, &handles, sizeof handles, nullptr) && handles.HandleCount > 2; };
    for (const auto& [request, label, hidden] : {std::tuple{disk, L"demo.d64", true}, {longPath, L"a game.d64", false}}) {
        SCOPED_TRACE(request);
        if (hidden) SendMessageW(window.Handle(), WM_SETTEXT, 0, LPARAM(L"Extracting game.zip ..."));
        AppProcess second(folder.Exe(), request);
        if (hidden) {
            ASSERT_TRUE(WaitUntil([&] { return opened() || !second.Running(); }));
            ASSERT_TRUE(second.Hold(true) && second.Running() && window.FileLabel() == kNoGameLoaded) << "it did not wait";
            SendMessageW(window.Handle(), WM_SETTEXT, 0, LPARAM(L"Floppex!"));
            EXPECT_TRUE(second.Hold(false));
        }
        EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
        EXPECT_TRUE(window.WaitForFileLabel(label));
        EXPECT_EQ(window.RowCount(), 6);
    }
    EXPECT_FALSE(ReadValue(kWindowKey, L"OnTop"));
    EXPECT_TRUE(folder.IniIs(nullptr));

    // An empty request only brings the window forward, restored when minimised; its listing stays.
    ShowWindow(window.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window.Handle()) != 0; }));
    AppProcess empty(folder.Exe(), L"");
    EXPECT_EQ(empty.WaitForExit(), std::optional<DWORD>(0));
    ASSERT_TRUE(window.Sync());
    EXPECT_FALSE(IsIconic(window.Handle()));
    EXPECT_EQ(window.FileLabel(), L"a game.d64");
    EXPECT_EQ(window.RowCount(), 6);
    EXPECT_TRUE(first.Running());

    // "Multiple" now stored as true: three files chosen at once in the open dialog, one of no known
    // type, are reported or open a window each, somewhere on the screen and with its switches disabled.
    WriteDword(kWindowKey, L"Multiple", 0xFFFFFFFF);
    folder.AddFixture(L"two.t64", L"two.t64");
    ASSERT_TRUE(WriteWholeFile(folder.File(L"notes.txt"), "not a game\n"));
    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'O'));
    const HWND box = WaitForDialog(first.Pid(), L"Open C64 File(s)...");
    ASSERT_NE(box, nullptr) << "no open dialog";
    ChooseInOpenBox(box, L"\"demo.d64\" \"notes.txt\" \"two.t64\"");
    ASSERT_TRUE(WaitUntilGone(box));
    EXPECT_EQ(AnswerMessageBox(first.Pid()), L"File-type not yet supported!");
    std::map<std::wstring, HWND> others;  // the other windows by their file labels
    EXPECT_TRUE(WaitUntil([&] {
        others.clear();
        for (HWND other = nullptr; (other = FindWindowExW(nullptr, other, kMainWindowClass, nullptr));)
            if (other != window.Handle() && IsWindowVisible(other)) others[MainWindow(other).FileLabel()] = other;
        return others.size() == 2 && others.contains(L"demo.d64") && others.contains(L"two.t64");
    })) << others.size() << " other windows";
    EXPECT_TRUE(window.WaitForFileLabel(L"a game.d64") && !FirstVisible(first.Pid(), L"#32770"));
    const MainWindow second(others[L"two.t64"]);
    const RECT placed = WindowRectOf(second.Handle());
    EXPECT_TRUE(placed.left >= 0 && placed.top >= 0 && placed.right <= GetSystemMetrics(SM_CXSCREEN) &&
                placed.bottom <= GetSystemMetrics(SM_CYSCREEN));
    const auto firstMenu = ReadContextMenu(window.Handle()), secondMenu = ReadContextMenu(second.Handle());
    ASSERT_TRUE(firstMenu && secondMenu) << "the window menu did not open";
    for (const wchar_t* text : {L"&Options...", L"&Keep Window Open", L"Always On &Top", L"&Multiple Instances", L"C64 &Font",
                                L"C64 &Lower Case"})
        EXPECT_TRUE(FindEntry(*firstMenu, text).enabled && !FindEntry(*secondMenu, text).enabled) << text;
    EXPECT_TRUE(FindEntry(*secondMenu, L"&Multiple Instances").checked);
    EXPECT_TRUE(FindEntry(*secondMenu, L"E&xit").enabled);
    for (const auto& [label, other] : others) PostMessageW(other, WM_CLOSE, 0, 0);  // gone before the next test
    EXPECT_TRUE(WaitUntil([&] { return std::ranges::none_of(others, [](const auto& other) { return IsWindow(other.second); }); }));
}

}  // namespace
}  // namespace floppex::e2e
