// The options dialog: a user's whole road to a played game, and what each way of leaving the dialog stores.
#include "dialog_driver.h"

#include <winioctl.h>

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

// A click on the emulator's path label; `program` chosen in the Open box.
void PickProgram(const AppProcess& app, HWND dialog, const std::wstring& program) {
    Click(GetDlgItem(dialog, ids::kLblEmu));
    const HWND box = WaitForDialog(app.Pid(), L"Select x64.exe...");
    ASSERT_NE(box, nullptr) << "no Open box";
    EXPECT_EQ(TextOf(GetDlgItem(box, 1148)), L"");  // the path shown names no file yet
    ChooseInOpenBox(box, program);
    ASSERT_TRUE(WaitUntilGone(box));
}

std::optional<std::wstring> StoredPath(const std::wstring& name) {
    const auto value = ReadValue(kPathsKey, name);
    return value ? std::optional(value->text) : std::nullopt;
}

// Makes drive `letter` a CD-ROM drive showing `folder` (on Z:), as winecfg does: through Wine's
// mount manager, whose request is its struct mountmgr_unix_drive followed by the Unix path.
bool DefineCdDrive(wchar_t letter, const std::wstring& folder) {
    std::string unixPath;
    for (const wchar_t c : folder.substr(2)) unixPath += c == L'\\' ? '/' : char(c);
    struct { ULONG size, type, fsType, serial; ULONGLONG device; WCHAR letter; USHORT folderAt, deviceAt, labelAt; } drive{
        ULONG(sizeof drive + unixPath.size() + 1), DRIVE_CDROM, 0, 0, 0, letter, sizeof drive, 0, 0};
    std::string request = std::string(reinterpret_cast<const char*>(&drive), sizeof drive) + unixPath + '\0';
    const HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = 0;
    const bool defined = DeviceIoControl(manager, CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS), request.data(),
                                         DWORD(request.size()), nullptr, 0, &size, nullptr);
    return CloseHandle(manager) && defined;
}

// With two emulators set and a stored default of no emulator, the window on top: Options, VICE refused without a path,
// its program on a CD refused, then one at 250 characters with blanks and letters of no code page, OK; a disk from the
// open dialog; Play: the stand-in gets the chosen entry. Then VICE's path cleared and the first emulator chosen: Esc
// and Cancel throw that away, Enter stores it.
TEST(OptionsTest, AUserChoosesVicePlaysTheChosenEntryAndEachWayOfLeavingStoresOrNot) {
    const ProgramFolder folder;
    std::wstring emulator = folder.File(L"Émulateurs Ж 游戏 ");
    emulator += std::wstring(250 - emulator.size() - 10, L'x') + L"\\x64sc.exe";
    for (const std::wstring& program : {emulator, folder.File(L"cd\\x64.exe")})
        ASSERT_TRUE(CreateDirectoryW(FolderOf(program).c_str(), nullptr) &&
                    CopyFileW(WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(DefineCdDrive(L'd', folder.File(L"cd")) && GetDriveTypeW(L"D:\\") == DRIVE_CDROM && Exists(L"D:\\x64.exe"));
    for (const wchar_t* name : {L"CCS64v109Path", L"CCS64v20DosPath"}) WriteString(kPathsKey, name, folder.Exe());
    WriteDword(kIntegersKey, L"DefEmu", 99);
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo disk.d64");
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    ASSERT_TRUE(IsTopmost(window.Handle()));
    HWND dialog = OpenOptions(app, window);
    ASSERT_NE(dialog, nullptr) << "no options dialog";
    EXPECT_FALSE(IsTopmost(window.Handle())) << "the window stays above its dialog";
    EXPECT_EQ(SizeOf(dialog, true), std::pair(TwipsToPixels(4680), TwipsToPixels(3735)));
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, ids::kLstEmu), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, ids::kLstEmu), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::kLblWinzipPath)), kPlaceholder);
    // Tab goes from the list through both Clear buttons, OK and Cancel back to the list.
    for (const int id : {ids::kCmdClearEmu, ids::kCmdClearWZPath, IDOK, IDCANCEL, ids::kLstEmu}) {
        PostKey(FocusOf(dialog), VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, id); })) << "not focused: " << id;
    }
    SelectEmulator(dialog, 3);
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(app.Pid(), L"Floppex!"), L"You must set a valid Default Emulator to use with Floppex!");
    PickProgram(app, dialog, L"D:\\x64.exe");
    EXPECT_EQ(AnswerMessageBox(app.Pid(), L"Floppex!"), L"Emulators cannot be run from a CD when using Floppex!");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::kLblEmu)), kPlaceholder);
    PickProgram(app, dialog, emulator);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::kLblEmu)), emulator);
    EXPECT_TRUE(SavePicture(dialog, L"options"));
    // Every text shows whole (the paths are shortened to fit).
    for (HWND label = nullptr; (label = FindWindowExW(dialog, label, L"Static", nullptr));)
        if (!(GetWindowLongW(label, GWL_STYLE) & SS_PATHELLIPSIS) && !TextOf(label).empty())
            EXPECT_FALSE(TextReachesEdge(label)) << TextOf(label);
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitUntilGone(dialog) && window.Sync());
    EXPECT_TRUE(IsTopmost(window.Handle()));
    EXPECT_EQ(ReadDword(kIntegersKey, L"DefEmu"), std::optional<DWORD>(3));
    EXPECT_EQ(StoredPath(L"VICEv0161Path"), emulator);
    EXPECT_EQ(StoredPath(L"WinZipPath"), L"");

    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'O'));
    const HWND box = WaitForDialog(app.Pid(), L"Open C64 File(s)...");
    ASSERT_NE(box, nullptr) << "no open dialog";
    ChooseInOpenBox(box, disk);
    ASSERT_TRUE(window.WaitForFileLabel(L"demo disk.d64"));
    ASSERT_TRUE(window.PlayRow(1));
    ASSERT_TRUE(WaitUntil([&] { return !LaunchesOf(emulator).empty(); })) << "the emulator was not started";
    EXPECT_EQ(LaunchesOf(emulator)[0].argv, (std::vector<std::wstring>{emulator, L"-autostart", disk + L":second"}));

    for (const auto& [key, stored] : {std::pair(VK_ESCAPE, emulator), {0, emulator}, {VK_RETURN, L""}}) {
        ASSERT_TRUE(dialog = OpenOptions(app, window));
        SendMessageW(GetDlgItem(dialog, ids::kCmdClearEmu), BM_CLICK, 0, 0);
        SelectEmulator(dialog, 0);
        key ? PostKey(GetDlgItem(dialog, ids::kLstEmu), WORD(key)) : Press(dialog, IDCANCEL);
        ASSERT_TRUE(WaitUntilGone(dialog));
        EXPECT_EQ(StoredPath(L"VICEv0161Path"), stored) << "left by key " << key;
        EXPECT_EQ(ReadDword(kIntegersKey, L"DefEmu"), std::optional<DWORD>(stored.empty() ? 0 : 3));
    }
}

}  // namespace
}  // namespace floppex::e2e
