// Files chosen in the open dialog: listed here, or each in a window of its own.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

// The file labels of the program's windows of other processes, sorted, once they are `expected`.
std::vector<std::wstring> OtherWindows(DWORD ownPid, const std::vector<std::wstring>& expected, std::vector<DWORD>& pids) {
    std::vector<std::wstring> labels;
    WaitUntil([&] {
        labels.clear(), pids.clear();
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != ownPid && IsWindowVisible(window)) labels.push_back(MainWindow(window).FileLabel()), pids.push_back(pid);
        }
        std::sort(labels.begin(), labels.end());
        return labels == expected;
    });
    return labels;
}

TEST(OpenDialogTest, OneFileListedHereOrEachInANewWindowWithAMessagePerFileOfAnotherType) {
    struct Case {
        bool multiple;
        const wchar_t* typed;  // into the file name field; null: the dialog is cancelled
        const wchar_t* label;  // of this window afterwards
        std::vector<std::wstring> newWindows;
        int messages;
    };
    const Case cases[] = {
        {false, L"\"demo.d64\"", L"demo.d64", {}, 0},
        {true, L"\"demo.d64\"", kNoGameLoaded, {L"demo.d64"}, 0},
        {true, L"\"demo.d64\" \"notes.txt\" \"game.zip\"", kNoGameLoaded, {L"currgame.d64", L"demo.d64"}, 1},
        {true, nullptr, kNoGameLoaded, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : L"cancelled");
        const ProgramFolder games(L"games"), folder;
        for (const wchar_t* name : {L"demo.d64", L"game.zip"}) games.AddFixture(name, name);
        ASSERT_TRUE(WriteWholeFile(games.File(L"notes.txt"), "not a game\n"));
        WriteString(kPathsKey, L"LastOpenPath", games.Path());
        WriteDword(kWindowKey, L"Multiple", c.multiple ? 0xFFFFFFFF : 0);
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'O'));
        const HWND box = WaitForDialog(app.Pid(), L"Open C64 File(s)...");
        ASSERT_NE(box, nullptr) << "no open dialog";
        c.typed ? ChooseInOpenBox(box, c.typed) : Press(box, IDCANCEL);
        ASSERT_TRUE(WaitUntilGone(box));
        for (int i = 0; i < c.messages; ++i) {
            const auto message = WaitForMessageBox(app.Pid());
            ASSERT_TRUE(message);
            EXPECT_EQ(message->text, L"File-type not yet supported!");
            EXPECT_FALSE(message->hasIcon);
            EXPECT_TRUE(message->PressOk());
        }
        std::vector<DWORD> pids;
        EXPECT_EQ(OtherWindows(app.Pid(), c.newWindows, pids), c.newWindows);
        for (const DWORD pid : pids)
            if (HANDLE other = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid))
                TerminateProcess(other, 9), WaitForSingleObject(other, kPatienceMs), CloseHandle(other);
        EXPECT_TRUE(window.WaitForFileLabel(c.label));
        // The folder and filter are remembered after a completed dialog only.
        std::wstring lastFolder = ReadValue(kPathsKey, L"LastOpenPath").value_or(RegistryValue{}).text;
        if (lastFolder.ends_with(L'\\')) lastFolder.pop_back();
        EXPECT_EQ(lastFolder, games.Path());
        EXPECT_EQ(ReadDword(kIntegersKey, L"LastFilterIndex").has_value(), c.typed != nullptr);
    }
}

}  // namespace
}  // namespace floppex::e2e
