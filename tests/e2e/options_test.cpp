// The options dialog: a new user's whole road to a played game, and what each way of leaving the
// dialog stores.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

constexpr wchar_t kPlaceholder[] = L"Not Set - Click to change";

HWND OpenOptions(const AppProcess& app, const MainWindow& window) {
    PostMessageW(window.Handle(), WM_COMMAND, ids::kMnuOptions, 0);  // as the menu entry does
    return WaitForDialog(app.Pid(), L"Floppex! Options...");
}

void SelectEmulator(HWND dialog, int emu) {
    const HWND list = GetDlgItem(dialog, ids::kLstEmu);
    SendMessageW(list, CB_SETCURSEL, emu, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::kLstEmu, CBN_SELCHANGE), LPARAM(list));
}

// A click on the emulator's path label; `program` chosen in the Open box, or the box cancelled.
void PickProgram(const AppProcess& app, HWND dialog, const std::wstring& program) {
    Click(GetDlgItem(dialog, ids::kLblEmu));
    const HWND box = WaitForDialog(app.Pid(), L"Select x64.exe...");
    ASSERT_NE(box, nullptr) << "no Open box";
    EXPECT_EQ(TextOf(GetDlgItem(box, 1148)), L"");  // the path shown names no file yet
    program.empty() ? Press(box, IDCANCEL) : ChooseInOpenBox(box, program);
    ASSERT_TRUE(WaitUntilGone(box));
}

std::optional<std::wstring> StoredPath(const std::wstring& name) {
    const auto value = ReadValue(kPathsKey, name);
    return value ? std::optional(value->text) : std::nullopt;
}

// From a fresh registry: Options, VICE, its program (at 250 characters with blanks and letters of
// no code page), OK; a disk from the open dialog; Play. The stand-in gets the chosen entry.
TEST(OptionsTest, NewUserChoosesAnEmulatorListsADiskAndPlaysTheChosenEntry) {
    const ProgramFolder folder;
    std::wstring emulator = folder.File(L"Émulateurs Ж 游戏 ");
    emulator += std::wstring(250 - emulator.size() - 10, L'x') + L"\\x64sc.exe";
    ASSERT_TRUE(CreateDirectoryW(FolderOf(emulator).c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR).c_str(), emulator.c_str(), FALSE));
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo disk.d64");
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    const HWND dialog = OpenOptions(app, window);
    ASSERT_NE(dialog, nullptr) << "no options dialog";
    EXPECT_EQ(SizeOf(dialog, true), std::pair(TwipsToPixels(4680), TwipsToPixels(3735)));
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, ids::kLstEmu), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::kLblWinzipPath)), kPlaceholder);
    SelectEmulator(dialog, 3);
    PickProgram(app, dialog, emulator);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::kLblEmu)), emulator);
    EXPECT_TRUE(SavePicture(dialog, L"options"));
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitUntilGone(dialog));
    EXPECT_EQ(ReadDword(kIntegersKey, L"DefEmu"), std::optional<DWORD>(3));
    EXPECT_EQ(StoredPath(L"VICEv0161Path"), emulator);
    EXPECT_EQ(StoredPath(L"WinZipPath"), L"");

    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'O'));
    const HWND box = WaitForDialog(app.Pid(), L"Open C64 File(s)...");
    ASSERT_NE(box, nullptr) << "no open dialog";
    ChooseInOpenBox(box, disk);
    ASSERT_TRUE(window.WaitForFileLabel(L"demo disk.d64"));
    ASSERT_TRUE(window.PlayRow(1));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch) << "the emulator was not started";
    EXPECT_EQ(launch->argv, (std::vector<std::wstring>{emulator, L"-autostart", disk + L":second"}));
}

}  // namespace
}  // namespace floppex::e2e
