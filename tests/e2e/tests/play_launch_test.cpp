// Playing a listed game with the Play button: what each emulator is given and what is remembered.
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

using namespace play;

class PlayLaunchTest : public E2eTest {};

TEST_F(PlayLaunchTest, ViceGetsTheChosenDiskEntryByItsListedName) {
    const std::vector<std::wstring> names = ListedNames(L"play.list");
    ASSERT_EQ(names, (std::vector<std::wstring>{L"alpha", L"Beta Two", L"gamma"}));
    for (const int emu : {3, 4}) {
        SCOPED_TRACE(emu);
        const ProgramFolder folder;
        const std::wstring emulator = InstallEmulator(folder, emu, L"x64.exe");
        SetDefaultEmulator(emu);
        const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
        AppProcess app(folder.Exe(), disk);
        const MainWindowView window(OpenListed(app, L"play.d64"));
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(PlayRow(window, 1));

        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch) << "the emulator was not started";
        EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(disk + L":" + names[1]));
        EXPECT_TRUE(SameFolder(launch->folder, FolderOf(emulator))) << Narrow(launch->folder);
        EXPECT_TRUE(IniHas(folder, "[Game Indexes]"));
        EXPECT_TRUE(IniHas(folder, "play.d64=2"));
        // The window is kept open by default, and its listing stays as it was.
        ASSERT_TRUE(window.Sync());
        EXPECT_TRUE(app.Running());
        EXPECT_EQ(window.FileLabel(), L"play.d64");
        EXPECT_EQ(window.Rows().RowCount(), 6);
        EXPECT_EQ(window.Rows().SelectedRow(), 1);
        EXPECT_FALSE(HasVisibleWindow(app.Pid(), L"#32768")) << "a left click opened the emulator menu";
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
        EXPECT_EQ(LaunchesOf(emulator).size(), 1u);
    }
}

TEST_F(PlayLaunchTest, Ccs64GetsTheEntryNumberAndStartsInTheGamesFolder) {
    for (const int emu : {0, 1, 2}) {
        SCOPED_TRACE(emu);
        const ProgramFolder folder;
        const std::wstring emulator = InstallEmulator(folder, emu, L"ccs64.exe");
        SetDefaultEmulator(emu);
        CreateDirectoryW(folder.File(L"games").c_str(), nullptr);
        const std::wstring disk = folder.AddFixture(L"play.d64", L"games\\play.d64");
        AppProcess app(folder.Exe(), disk);
        const MainWindowView window(OpenListed(app, L"play.d64"));
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(PlayRow(window, 2));

        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" " + Quoted(disk) + L" 3");
        EXPECT_TRUE(SameFolder(launch->folder, folder.File(L"games"))) << Narrow(launch->folder);
        EXPECT_TRUE(IniHas(folder, "play.d64=3"));
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    }
}

TEST_F(PlayLaunchTest, FrodoStartsWithoutTheGameButTheEntryIsRemembered) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 10, L"frodo.exe");
    SetDefaultEmulator(10);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(OpenListed(app, L"play.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(PlayRow(window, 2));
    const auto launch = WaitForLaunch(emulator);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->commandLine, Quoted(emulator));
    EXPECT_TRUE(IniHas(folder, "play.d64=3"));
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
}

// Without "Keep Window Open" the window closes after Play also when nothing was started.
TEST_F(PlayLaunchTest, Pc64ForDosIsRefusedAfterTheEntryIsRemembered) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 7, L"pc64.exe");
    SetDefaultEmulator(7);
    KeepWindowOpen(false);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(OpenListed(app, L"play.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(PlayRow(window, 1));
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"PC64 Dos is not supported yet!");
    EXPECT_EQ(box->caption, L"Floppex!");
    EXPECT_TRUE(box->hasIcon);
    EXPECT_TRUE(IniHas(folder, "play.d64=2")) << "remembered before the refusal";
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(FileExists(LogOf(emulator)));
}

TEST_F(PlayLaunchTest, MissingEmulatorIsOnlyReportedAndTheWindowClosesWithoutKeepOpen) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    DeleteFileW(emulator.c_str());  // configured, but gone since
    SetDefaultEmulator(3);
    KeepWindowOpen(false);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(OpenListed(app, L"play.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(PlayRow(window, 2));
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Floppex!");
    EXPECT_NE(box->text.find(emulator), std::wstring::npos) << Narrow(box->text);
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini"))) << "nothing remembered before the launch";
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(HasMessageBox(app.Pid()));
}

TEST_F(PlayLaunchTest, TapeNamesAnEntryOnlyWhenItHoldsSeveral) {
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    struct Case {
        const wchar_t* name;
        int row;
        std::wstring target;  // what follows -autostart, unquoted
        const char* remembered;
    };
    const Case cases[] = {
        {L"one.t64", 0, folder.File(L"one.t64"), "one.t64=1"},
        {L"two.t64", 1, folder.File(L"two.t64") + L":second", "two.t64=2"},
    };
    for (const Case& game : cases) {
        SCOPED_TRACE(Narrow(game.name));
        DeleteFileW(LogOf(emulator).c_str());
        AppProcess app(folder.Exe(), folder.AddFixture(game.name, game.name));
        const MainWindowView window(OpenListed(app, game.name));
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(PlayRow(window, game.row));
        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(game.target));
        EXPECT_TRUE(IniHas(folder, game.remembered));
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    }
}

// The C64 name in a PC64 file's header (up to its padding), as c1541 would list it: unshifted
// letters in lower case.
std::wstring PcFileName(const std::wstring& fixture) {
    const std::string bytes = ReadWholeFile(FixturePath(fixture));
    std::wstring name;
    for (size_t i = 8; i < 24 && i < bytes.size() && bytes[i] != '\0' && bytes[i] != '\xa0'; ++i)
        name += static_cast<wchar_t>(bytes[i] >= 'A' && bytes[i] <= 'Z' ? bytes[i] - 'A' + 'a' : bytes[i]);
    return name;
}

TEST_F(PlayLaunchTest, ProgramAndFirstPcFilesAreNotRememberedOtherPcFilesAre) {
    const std::wstring pcName = PcFileName(L"play.p00");
    ASSERT_FALSE(pcName.empty());
    const ProgramFolder folder;
    const std::wstring emulator = InstallEmulator(folder, 3, L"x64.exe");
    SetDefaultEmulator(3);
    struct Case {
        const wchar_t* fixture;
        const wchar_t* name;
        std::wstring entry;
        bool remembered;
    };
    const Case cases[] = {
        {L"hello.prg", L"HELLO.PRG", L"", false},
        {L"play.p00", L"Play.P00", L":" + pcName, false},
        {L"play.p01", L"play.p01", L":" + pcName, true},
    };
    for (const Case& game : cases) {
        SCOPED_TRACE(Narrow(game.name));
        DeleteFileW(LogOf(emulator).c_str());
        const std::wstring path = folder.AddFixture(game.fixture, game.name);
        AppProcess app(folder.Exe(), path);
        const MainWindowView window(OpenListed(app, game.name));
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(PlayRow(window, 0));
        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" -autostart " + Quoted(path + game.entry));
        EXPECT_EQ(IniHas(folder, Narrow(game.name) + "="), game.remembered);
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    }
}

}  // namespace
}  // namespace floppex::e2e
