// Playing a game: with the Play button, with the emulator menu, or by a play request ("-p path")
// from the shell. A stand-in records how each emulator was started.
#include "driver.h"

namespace floppex::e2e {
namespace {

using Args = std::vector<std::wstring>;

// A program folder in a folder whose name has blanks; stand-ins as the programs of `emus`, `defaultEmu` the default.
struct PlayFolder : ProgramFolder {
    PlayFolder(DWORD defaultEmu, std::initializer_list<int> emus, bool keepOpen = true) : ProgramFolder(L"with  blanks") {
        for (const int emu : emus) InstallEmulator(*this, emu);
        WriteDword(kIntegersKey, L"DefEmu", defaultEmu);
        if (!keepOpen) WriteDword(kWindowKey, L"KeepOpen", 0);
    }
    std::wstring Emulator(int emu) const { return File(L"emu" + std::to_wstring(emu) + L"\\emulator.exe"); }
};

// Each kind of emulator gets the game its own way. Arguments are compared as Windows splits them,
// so paths with blanks and names with quotes and backslashes must arrive whole.
TEST(PlayTest, PlayButtonStartsEachKindOfEmulatorWithTheChosenEntry) {
    struct Case {
        int emu;
        const wchar_t *fixture, *name;
        int row;
        Args args;               // after the emulator; "GAME" stands for the game's path
        bool inGameFolder;       // started there, or else in the emulator's folder
        const char* remembered;  // the file's line in [Game Indexes], or null for no Floppex.ini
        bool registryRefused = false;  // every registry write refused, the user's own hive included
    };
    const Case cases[] = {
        {0, L"play.d64", L"play.d64", 0, {L"GAME"}, true, "play.d64=1"},          // CCS64 1.09
        {2, L"play.d64", L"play.d64", 2, {L"GAME", L"3"}, true, "play.d64=3"},    // CCS64 2.0
        {3, L"play.d64", L"play.d64", 1, {L"-autostart", L"GAME:Beta Two"}, false, "play.d64=2"},  // VICE
        {4, L"odd.d64", L"odd.d64", 0, {L"-autostart", L"GAME:say \"hi\""}, false, "odd.d64=1"},  // WinVICE
        {3, L"odd.d64", L"odd.d64", 1, {L"-autostart", L"GAME:back\\"}, false, "odd.d64=2"},
        {5, L"odd.d64", L"odd.d64", 0, {L"GAME", L"say \"hi\""}, false, "odd.d64=1"},  // C64S
        {5, L"odd.d64", L"odd.d64", 1, {L"GAME", L"back\\"}, false, "odd.d64=2"},
        {6, L"play.d64", L"play.d64", 1, {L"GAME"}, false, "play.d64=2"},   // Win64
        {8, L"play.d64", L"play.d64", 1, {L"GAME"}, false, "play.d64=2"},   // PC64 for Windows
        {9, L"play.d64", L"play.d64", 1, {L"GAME"}, false, "play.d64=2"},   // Come Back 64
        {10, L"play.d64", L"play.d64", 2, {}, false, "play.d64=3"},         // Frodo only loads
        // A tape names an entry only when it holds several; program files and first PC64 files are
        // not remembered, other PC64 files are. Names as c1541 lists them: unshifted letters in lower case.
        {3, L"one.t64", L"one.t64", 0, {L"-autostart", L"GAME"}, false, "one.t64=1"},
        {3, L"two.t64", L"two.t64", 1, {L"-autostart", L"GAME:second"}, false, "two.t64=2"},
        {3, L"hello.prg", L"HELLO.PRG", 0, {L"-autostart", L"GAME"}, false, nullptr},
        {3, L"big.p00", L"Big.P00", 0, {L"-autostart", L"GAME:big"}, false, nullptr},
        {3, L"big.p01", L"big.p01", 0, {L"-autostart", L"GAME:big"}, false, "big.p01=1"},
        // The other disks (listed in listing_test) as a .d64; a cartridge and a raw tape start whole, their row remembered.
        {3, L"demo.d81", L"demo.d81", 2, {L"-autostart", L"GAME:third"}, false, "demo.d81=3"},
        {4, L"demo.g64", L"demo.g64", 1, {L"-autostart", L"GAME:second"}, false, "demo.g64=2"},
        {3, L"cart.crt", L"cart.crt", 0, {L"-autostart", L"GAME"}, false, "cart.crt=1"},
        {3, L"tape.tap", L"tape.tap", 1, {L"-autostart", L"GAME"}, false, "tape.tap=2"},
        {3, L"play.d64", L"play.d64", 2, {L"-autostart", L"GAME:gamma"}, false, "play.d64=3", true},  // stops nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "emulator " << c.emu << ", " << c.name << " row " << c.row);
        const PlayFolder folder(c.emu, {c.emu});
        const std::wstring emulator = folder.Emulator(c.emu);
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"my  games").c_str(), nullptr));
        const std::wstring game = folder.AddFixture(c.fixture, L"my  games\\" + std::wstring(c.name));
        SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", c.registryRefused ? L"all" : nullptr);
        AppProcess app(folder.Exe(), game);
        SetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", nullptr);
        const MainWindow window = WaitForListing(app, c.name);
        ASSERT_TRUE(window.PlayRow(c.row));

        ASSERT_TRUE(WaitUntil([&] { return !LaunchesOf(emulator).empty(); })) << "the emulator was not started";
        EXPECT_TRUE(folder.IniIs(c.remembered)) << ReadWholeFile(folder.File(L"Floppex.ini"));
        // The window is kept open by default, and its listing stays as it was.
        ASSERT_TRUE(window.Sync());
        EXPECT_EQ(window.FileLabel(), c.name);
        EXPECT_EQ(window.SelectedRow(), c.row);
        EXPECT_FALSE(FirstVisible(app.Pid(), kPopupClass)) << "a left click opened the emulator menu";
        EXPECT_FALSE(FirstVisible(app.Pid(), L"#32770")) << "a message was shown";
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
        EXPECT_EQ(ReadValue(kWindowKey, L"OnTop").has_value(), !c.registryRefused);  // written at every start
        EXPECT_FALSE(ReadValue(kWindowKey, L"OnTop", HKEY_CURRENT_USER));
        const auto launches = LaunchesOf(emulator);
        ASSERT_EQ(launches.size(), 1u);
        Args expected{emulator};
        for (const std::wstring& arg : c.args) expected.push_back(arg.find(L"GAME") ? arg : game + arg.substr(4));
        EXPECT_EQ(launches[0].argv, expected);
        EXPECT_EQ(launches[0].folder, c.inGameFolder ? FolderOf(game) : FolderOf(emulator));
    }
}

// The right button on Play lists the emulators, greying those without a program; the chosen entry,
// not the default emulator, plays the game, and without "Keep Window Open" the window then closes.
TEST(PlayTest, EmulatorMenuListsTheEmulatorsAndPlaysWithTheChosenOne) {
    const PlayFolder folder(7, {0, 3, 7}, false);
    const std::wstring vice = folder.Emulator(3), pc64 = folder.Emulator(7);
    DeleteFileW(folder.Emulator(0).c_str());
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindow window = WaitForListing(app, L"play.d64");
    ASSERT_TRUE(window.Select(2));
    const auto rightButton = [&] { PostMessageW(window.Child(ids::kCmdPlay), WM_RBUTTONDOWN, MK_RBUTTON, 0x50005); };
    const auto openMenu = [&] { return RecordMenu(window.Handle(), rightButton, false); };
    const auto entries = openMenu();
    ASSERT_TRUE(entries) << "no menu opened";
    Args shown;
    for (const MenuEntry& entry : *entries) shown.push_back(entry.text + (entry.enabled ? L"" : L" (grey)"));
    EXPECT_EQ(shown, (Args{L"CCS64 v1.09 (grey)", L"CCS64 v2.0 (Dos) (grey)", L"CCS64 v2.0 (Win) (grey)", L"VICE",
                           L"WinVICE (grey)", L"C64S v2.52 (grey)", L"Win64 (grey)", L"PC64 v1.22 (Dos)",
                           L"PC64 c2.14 (Win) (grey)", L"Come Back 64 v0.9a (grey)", L"Frodo v4.1.1 (Load Only) (grey)"}));
    // Closed without a choice, it leaves everything as it was.
    PostKey(WaitForVisibleWindow(app.Pid(), kPopupClass), VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !FirstVisible(app.Pid(), kPopupClass); }));
    ASSERT_TRUE(window.Sync());
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(folder.IniIs(nullptr));

    ASSERT_TRUE(openMenu());
    const HWND popup = WaitForVisibleWindow(app.Pid(), kPopupClass);
    for (int step = 0; step <= 3; ++step) PostKey(popup, VK_DOWN);  // the first press reaches entry 0
    PostKey(popup, VK_RETURN);
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(folder.IniHas("play.d64=3"));
    const auto launches = LaunchesOf(vice);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].argv, (Args{vice, L"-autostart", disk + L":gamma"}));
    EXPECT_TRUE(LaunchesOf(pc64).empty()) << "the default emulator was started";
}

// "-p path" from the shell plays the remembered entry at once, without showing the window; a
// refusal is reported, then the program ends and nothing is started. Emulator 3 (VICE) and 7 (PC64
// for DOS) have a program; emulator 4 had one, deleted since.
TEST(PlayTest, PlayRequestsPlayAtOnceAndRefusalsStartNothing) {
    struct Case {
        const wchar_t *request, *file;  // "-p " or "-P " before the file's path, or "" to click Play on row 2
        const char* bytes;              // the file's contents, or null for the fixture of that name
        DWORD emu;                      // the default emulator
        const char* ini;                // the file's line in [Game Indexes] beforehand, or null
        std::wstring report;            // shown first (followed by the path of a deleted program), or ""
        const char* remembered;         // in Floppex.ini when the report shows, or else at the end
        const wchar_t *played, *entry;  // the file handed to VICE and the entry named, or null for no start
    };
    const std::wstring noEmulator = L"There is no emulator number ", chooseOne = L".\nChoose the default emulator in the options.";
    const Case cases[] = {
        {L"-p ", L"play.d64", nullptr, 3, "play.d64=3", L"", "play.d64=3", L"play.d64", L":gamma"},
        {L"-p ", L"play.d64", nullptr, 3, "play.d64=99999999", L"", "play.d64=99999999", L"play.d64", L""},  // beyond the disk
        // An image the reader rejects is reported and still handed to the emulator.
        {L"-p ", L"fake.d64", nullptr, 3, "fake.d64=2", L"There was an error reading from the D64 file!", "fake.d64=2", L"fake.d64", L""},
        // An archive is unpacked; the unpacked file is played and remembered too.
        {L"-P ", L"game.zip", nullptr, 3, "game.zip=2", L"", "currgame.d64=2", L"currgame.d64", L":Beta Two"},
        {L"-P ", L"hello.prg", nullptr, 3, nullptr, L"", nullptr, L"hello.prg", L""},
        // Refused before anything is unpacked or remembered.
        {L"-p ", L"game.zip", nullptr, 5, "game.zip=2", L"No file name was given.", "game.zip=2", nullptr, nullptr},  // no program for C64S
        {L"-p ", L"broken.zip", "PK\x03\x04 no archive", 3, "broken.zip=2", L"broken.zip is damaged and cannot be unpacked.", "broken.zip=2", nullptr, nullptr},
        {L"-p ", L"hello.prg", nullptr, 16, nullptr, noEmulator + L"16" + chooseOne, nullptr, nullptr, nullptr},
        {L"-p ", L"hello.prg", nullptr, 0xFFFFFFFF, nullptr, noEmulator + L"-1" + chooseOne, nullptr, nullptr, nullptr},
        {L"-p ", L"hello.prg", nullptr, 70000, nullptr, L"No file name was given.", nullptr, nullptr, nullptr},  // out of range: 0
        // From the window: the entry is remembered before PC64 for DOS is refused, not before a missing
        // emulator is reported; without "Keep Window Open" the window then closes.
        {L"", L"play.d64", nullptr, 7, nullptr, L"PC64 Dos is not supported yet!", "play.d64=2", nullptr, nullptr},
        {L"", L"play.d64", nullptr, 4, nullptr, L"File not found:\n", nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.request << c.file << " with emulator " << c.emu);
        const PlayFolder folder(c.emu, {3, 4, 7}, false);
        const std::wstring gone = folder.Emulator(4), vice = folder.Emulator(3), pc64 = folder.Emulator(7);
        DeleteFileW(gone.c_str());
        const std::wstring path = c.bytes ? folder.File(c.file) : folder.AddFixture(c.file, c.file);
        if (c.bytes) ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        if (c.ini) ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), std::string("[Game Indexes]\r\n") + c.ini + "\r\n"));
        AppProcess app(folder.Exe(), c.request + path);
        if (!*c.request) ASSERT_TRUE(WaitForListing(app, c.file).PlayRow(1));
        if (!c.report.empty()) {
            const auto box = WaitForMessageBox(app.Pid());
            ASSERT_TRUE(box);
            EXPECT_TRUE(box->caption == L"Floppex!" && box->hasIcon) << box->caption;
            EXPECT_EQ(box->text, c.report + (c.emu == 4 ? gone : L""));
            EXPECT_TRUE(folder.IniIs(c.remembered)) << ReadWholeFile(folder.File(L"Floppex.ini"));
            ASSERT_TRUE(box->PressOk());
        }
        EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
        // Every start registers the file types, also one that ends without waiting for a message.
        EXPECT_EQ(ReadValue(L"FloppexCRT\\Shell\\Play\\command", L"", HKEY_CLASSES_ROOT).value_or(RegistryValue{}).text,
                  folder.Exe() + L" -p %1");
        EXPECT_TRUE(LaunchesOf(pc64).empty());
        const auto launches = LaunchesOf(vice);
        if (!c.played) {
            EXPECT_TRUE(launches.empty());
            EXPECT_FALSE(Exists(folder.File(L"currgame.d64")));
            continue;
        }
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].argv, (Args{vice, L"-autostart", folder.File(c.played) + c.entry}));
        if (c.report.empty()) EXPECT_TRUE(folder.IniIs(c.remembered)) << ReadWholeFile(folder.File(L"Floppex.ini"));
        if (c.played == std::wstring(L"currgame.d64"))
            EXPECT_EQ(ReadWholeFile(folder.File(c.played)), ReadWholeFile(Fixture(L"play.d64")));
        // The never-shown window still saves its placement on the way out.
        for (const wchar_t* name : {L"Top", L"Left", L"Height"}) EXPECT_TRUE(ReadValue(kWindowKey, name)) << name;
    }
}

}  // namespace
}  // namespace floppex::e2e
