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
        const std::wstring emulator = UseEmulator(folder, emu, L"x64.exe");
        const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
        AppProcess app(folder.Exe(), disk);
        const MainWindowView window(OpenListed(app, L"play.d64"));
        ASSERT_TRUE(PlayRow(window, 1));

        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch) << "the emulator was not started";
        EXPECT_EQ(launch->commandLine, Autostart(emulator, disk + L":" + names[1]));
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

// The CCS64 versions get the entry number and start in the game's folder; Frodo only loads, but
// the entry is remembered all the same.
TEST_F(PlayLaunchTest, Ccs64GetsTheEntryNumberAndFrodoNoGame) {
    for (const int emu : {0, 1, 2, 10}) {
        SCOPED_TRACE(emu);
        const ProgramFolder folder;
        const std::wstring emulator = UseEmulator(folder, emu, L"ccs64.exe");
        CreateDirectoryW(folder.File(L"games").c_str(), nullptr);
        const std::wstring disk = folder.AddFixture(L"play.d64", L"games\\play.d64");
        AppProcess app(folder.Exe(), disk);
        const MainWindowView window(OpenListed(app, L"play.d64"));
        ASSERT_TRUE(PlayRow(window, 2));

        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        if (emu == 10) {
            EXPECT_EQ(launch->commandLine, Quoted(emulator));
        } else {
            EXPECT_EQ(launch->commandLine, Quoted(emulator) + L" " + Quoted(disk) + L" 3");
            EXPECT_TRUE(SameFolder(launch->folder, folder.File(L"games"))) << Narrow(launch->folder);
        }
        EXPECT_TRUE(IniHas(folder, "play.d64=3"));
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    }
}

// Without "Keep Window Open" the window closes after Play also when nothing was started.
TEST_F(PlayLaunchTest, Pc64ForDosIsRefusedAfterTheEntryIsRemembered) {
    const ProgramFolder folder;
    const std::wstring emulator = UseEmulator(folder, 7, L"pc64.exe");
    KeepWindowOpen(false);
    AppProcess app(folder.Exe(), folder.AddFixture(L"play.d64", L"play.d64"));
    ASSERT_TRUE(PlayRow(MainWindowView(OpenListed(app, L"play.d64")), 1));
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
    const std::wstring emulator = UseEmulator(folder, 3, L"x64.exe");
    DeleteFileW(emulator.c_str());  // configured, but gone since
    KeepWindowOpen(false);
    AppProcess app(folder.Exe(), folder.AddFixture(L"play.d64", L"play.d64"));
    ASSERT_TRUE(PlayRow(MainWindowView(OpenListed(app, L"play.d64")), 2));
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Floppex!");
    EXPECT_NE(box->text.find(emulator), std::wstring::npos) << Narrow(box->text);
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini"))) << "nothing remembered before the launch";
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(HasMessageBox(app.Pid()));
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

// A tape names an entry only when it holds several; program files and first PC64 files are not
// remembered, other PC64 files are.
TEST_F(PlayLaunchTest, TapesProgramsAndPcFilesGetTheirEntryNames) {
    const std::wstring pcName = PcFileName(L"play.p00");
    ASSERT_FALSE(pcName.empty());
    const ProgramFolder folder;
    const std::wstring emulator = UseEmulator(folder, 3, L"x64.exe");
    struct Case {
        const wchar_t* fixture;
        const wchar_t* name;
        int row;
        std::wstring entry;      // appended to the file's path after -autostart
        const char* remembered;  // the file's line in [Game Indexes], or null for none
    };
    const Case cases[] = {
        {L"one.t64", L"one.t64", 0, L"", "one.t64=1"},
        {L"two.t64", L"two.t64", 1, L":second", "two.t64=2"},
        {L"hello.prg", L"HELLO.PRG", 0, L"", nullptr},
        {L"play.p00", L"Play.P00", 0, L":" + pcName, nullptr},
        {L"play.p01", L"play.p01", 0, L":" + pcName, "play.p01=1"},
    };
    for (const Case& game : cases) {
        SCOPED_TRACE(Narrow(game.name));
        DeleteFileW(LogOf(emulator).c_str());
        const std::wstring path = folder.AddFixture(game.fixture, game.name);
        AppProcess app(folder.Exe(), path);
        ASSERT_TRUE(PlayRow(MainWindowView(OpenListed(app, game.name)), game.row));
        const auto launch = WaitForLaunch(emulator);
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, Autostart(emulator, path + game.entry));
        if (game.remembered)
            EXPECT_TRUE(IniHas(folder, game.remembered));
        else
            EXPECT_FALSE(IniHas(folder, Narrow(game.name) + "="));
        EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    }
}

}  // namespace
}  // namespace floppex::e2e
