// What a Windows user meets beyond the other roads: no administrator rights, the shell's commands.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

// Machine-wide keys refused: types and settings go to the user's hive; the next start reads them
// there before the machine's values of the same names. Once machine-wide writes are allowed, each
// value written there has its copy in the user's hive removed, so that the copy cannot hide it.
TEST(WindowsUserTest, WithoutAdministratorRightsTheUsersOwnHiveServesUntilAMachineWideWrite) {
    const ProgramFolder folder;
    WriteDword(kWindowKey, L"KeepOpen", ~0u);
    SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", L"1");
    SetCertificateType(HKEY_LOCAL_MACHINE, L"FloppexCRT");  // an earlier version's, out of the user's reach
    for (const bool first : {true, false}) {
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        const auto menu = ReadContextMenu(window.Handle());
        ASSERT_TRUE(menu);
        EXPECT_EQ(FindEntry(*menu, L"&Keep Window Open").checked, first);
        if (first) PostKey(window.Handle(), VK_F11);
        ASSERT_TRUE(WaitUntil([] { return ReadValue(kWindowKey, L"KeepOpen", HKEY_CURRENT_USER).has_value(); }));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
    SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", nullptr);
    EXPECT_EQ(ReadValue(L"Software\\Classes\\FloppexD64\\Shell\\Play\\command", L"", HKEY_CURRENT_USER)
                  .value_or(RegistryValue{}).text, folder.Exe() + L" -p %1");
    EXPECT_TRUE(ReadValue(kWindowKey, L"Top", HKEY_CURRENT_USER) && !ReadValue(kWindowKey, L"Top"));
    EXPECT_FALSE(ReadValue(L"Software\\Classes\\FloppexD64", L""));
    EXPECT_EQ(ReadValue(L"Software\\Classes\\.crt", L"", HKEY_CURRENT_USER).value_or(RegistryValue{}).text, L"CERFile");

    // As an administrator: "on top", which every start stores (on in the user's hive, off in the
    // machine's), is read from the user's hive, then stored machine-wide and the user's copy removed.
    WriteDword(kWindowKey, L"OnTop", 0);
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    EXPECT_TRUE(IsTopmost(window.Handle()));
    EXPECT_TRUE(WaitUntil([] { return !ReadValue(kWindowKey, L"OnTop", HKEY_CURRENT_USER); }) && ReadDword(kWindowKey, L"OnTop") == ~0u);
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
}

// A program folder that cannot be written, as under "Program Files" (other-prefix.sh makes one):
// Floppex.ini and the unpacked working file go to the user's own %LOCALAPPDATA%\Floppex.
TEST(WindowsUserTest, AProgramFolderThatCannotBeWrittenLeavesTheDataWithTheUser) {
    const char* readOnly = std::getenv("FLOPPEX_E2E_READ_ONLY");
    if (!readOnly) GTEST_SKIP() << "run by other-prefix.sh";
    const ProgramFolder games;
    const std::wstring emulator = InstallEmulator(games, 3), zip = games.AddFixture(L"game.zip", L"game.zip");
    WriteDword(kIntegersKey, L"DefEmu", 3);
    const std::wstring data = std::wstring(_wgetenv(L"LOCALAPPDATA")) + L"\\Floppex\\";
    std::filesystem::remove_all(data);
    AppProcess app(WindowsPath(readOnly) + L"\\Floppex.exe", zip);
    ASSERT_TRUE(WaitForListing(app, L"currgame.d64").PlayRow(1));
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    ASSERT_EQ(LaunchesOf(emulator).size(), 1u) << "the emulator was not started";
    EXPECT_EQ(LaunchesOf(emulator)[0].argv.back(), data + L"currgame.d64:Beta Two");
    EXPECT_NE(WideLines(data + L"Floppex.ini").str().find(L"game.zip=2"), std::wstring::npos);
}

// Started as the shell starts a registered command, unquoted ("C:\Program Files\Floppex\Floppex.exe
// C:\...\Łódź.d64"), the whole path is listed, and the entry of a name outside the code page is
// remembered; also by the exe renamed, which still registers "Floppex.exe".
TEST(WindowsUserTest, AnUnquotedStartListsTheWholePathAndRemembersANameOutsideTheCodePage) {
    const ProgramFolder folder(L"program files");
    const std::wstring name = L"\u0141\u00f3d\u017a 1.d64", renamed = folder.File(L"my C64 lister.exe");
    const std::wstring disk = folder.AddFixture(L"many.d64", name);
    for (const bool first : {true, false}) {
        if (!first) ASSERT_TRUE(MoveFileW(folder.Exe().c_str(), renamed.c_str()) && !RegDeleteTreeW(HKEY_CLASSES_ROOT, L"FloppexD64"));
        AppProcess app(first ? folder.Exe() : renamed, disk, false);
        const MainWindow window = WaitForListing(app, name);
        if (first) ASSERT_TRUE(window.Select(3) && window.Sync());
        EXPECT_EQ(window.SelectedRow(), 3);
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(ReadValue(L"FloppexD64\\Shell\\Contents...\\command", L"", HKEY_CLASSES_ROOT).value_or(RegistryValue{}).text,
              folder.Exe() + L" %1");
}

}  // namespace
}  // namespace floppex::e2e
