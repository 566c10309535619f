// The options dialog: a new user's whole road to a played game, and what each way of leaving the
// dialog stores.
#include "dialog_driver.h"
#include "launch/emulator_catalogue.h"

namespace floppex::e2e {
namespace {

constexpr wchar_t kPlaceholder[] = L"Not Set - Click to change";
std::wstring PathValue(int emu) { return std::wstring(kEmulators[emu].registryValue); }

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
    EXPECT_EQ(ClientSize(dialog), std::pair(TwipsToPixels(4680), TwipsToPixels(3735)));
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

// OK and Enter store what the dialog shows, unless OK must refuse; Cancel, Esc and the close box
// store nothing.
TEST(OptionsTest, HowTheDialogIsLeftDecidesWhatIsStored) {
    enum class Leave { Ok, Enter, Cancel, Esc, CloseBox };
    struct Case {
        std::vector<int> configured;  // emulators whose path is the stand-in before the start
        int storedDefault, select;    // -1: none stored, the list left as it opens
        int action;                   // a Clear button, or the stand-in picked (1) or the Open box cancelled (2)
        Leave leave;
        bool refused, stores;
        std::optional<DWORD> defEmu;  // afterwards
        int emptied;                  // the emulator whose path Clear emptied, or -1
    };
    const Case cases[] = {
        {{}, -1, 3, 1, Leave::Cancel, false, false, std::nullopt, -1},
        {{}, -1, 3, 1, Leave::Esc, false, false, std::nullopt, -1},
        {{}, -1, 3, 1, Leave::CloseBox, false, false, std::nullopt, -1},
        {{}, -1, 4, 1, Leave::Enter, false, true, 4, -1},
        {{0, 1}, 0, 5, 0, Leave::Ok, true, false, 0, -1},                // two others have paths
        {{0, 9}, 0, -1, ids::kCmdClearEmu, Leave::Ok, false, true, 9, 0},  // the only one left with a path
        {{}, 5, -1, ids::kCmdClearWZPath, Leave::Ok, false, true, 5, -1},   // none set: the selection stays
        // A stored default of no emulator, and VICE's stored path a folder: the Open box opens empty.
        {{}, 99, 3, 2, Leave::Esc, false, false, 99, -1},
        {{}, 99, -1, 0, Leave::Ok, false, true, 3, -1},  // a path is set, if not a program's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const ProgramFolder folder;
        const std::wstring standIn = folder.File(L"x64.exe"), notAProgram = folder.Path();
        ASSERT_TRUE(CopyFileW(WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR).c_str(), standIn.c_str(), FALSE));
        for (const int emu : c.configured) WriteString(kPathsKey, PathValue(emu), standIn);
        WriteString(kPathsKey, L"WinZipPath", standIn);
        const bool viceIsAFolder = c.storedDefault > 10;
        if (viceIsAFolder) WriteString(kPathsKey, L"VICEv0161Path", notAProgram);
        if (c.storedDefault >= 0) WriteDword(kIntegersKey, L"DefEmu", DWORD(c.storedDefault));
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        const HWND dialog = OpenOptions(app, window);
        ASSERT_NE(dialog, nullptr) << "no options dialog";
        if (viceIsAFolder) EXPECT_EQ(SendMessageW(GetDlgItem(dialog, ids::kLstEmu), CB_GETCURSEL, 0, 0), 0);
        if (c.select >= 0) SelectEmulator(dialog, c.select);
        if (c.action == 1 || c.action == 2) PickProgram(app, dialog, c.action == 1 ? standIn : L"");
        if (c.action > 2) Press(dialog, c.action);
        const HWND list = GetDlgItem(dialog, ids::kLstEmu);
        if (c.leave == Leave::Ok) Press(dialog, IDOK);
        if (c.leave == Leave::Enter || c.leave == Leave::Esc) PostKey(list, c.leave == Leave::Enter ? VK_RETURN : VK_ESCAPE);
        if (c.leave == Leave::Cancel) Press(dialog, IDCANCEL);
        if (c.leave == Leave::CloseBox) PostMessageW(dialog, WM_CLOSE, 0, 0);
        if (c.refused) {
            const HWND message = WaitForDialog(app.Pid(), L"Floppex!");
            ASSERT_NE(message, nullptr) << "no message";
            EXPECT_EQ(TextOf(GetDlgItem(message, 0xFFFF)), L"You must set a valid Default Emulator to use with Floppex!");
            Press(message, IDOK);
            ASSERT_TRUE(WaitUntilGone(message) && window.Sync());
            EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed";
            PostKey(list, VK_ESCAPE);
        }
        ASSERT_TRUE(WaitUntilGone(dialog));
        EXPECT_EQ(ReadDword(kIntegersKey, L"DefEmu"), c.defEmu);
        EXPECT_EQ(StoredPath(L"WinZipPath"), c.action == ids::kCmdClearWZPath ? L"" : standIn);
        // Every emulator's path is written by a committing OK, an empty one as "".
        for (int emu = 0; emu < 11; ++emu) {
            const bool configured = std::count(c.configured.begin(), c.configured.end(), emu) > 0;
            const auto before = configured                   ? std::optional(standIn)
                                : emu == 3 && viceIsAFolder ? std::optional(notAProgram)
                                                            : std::nullopt;
            std::optional<std::wstring> expected = before;
            if (c.stores) expected = emu == c.emptied ? L"" : c.action == 1 && emu == c.select ? standIn : before.value_or(L"");
            EXPECT_EQ(StoredPath(PathValue(emu)), expected) << emu;
        }
    }
}

}  // namespace
}  // namespace floppex::e2e
