// Opening a game file from the command line, as a double-click in the shell does: it is listed,
// or the person is told why not and the window shows the empty view.
#include "driver.h"

namespace floppex::e2e {
namespace {

using Texts = std::vector<std::wstring>;

// A play request ("-p path") for a file with no remembered entry lists it too. The remembered entry
// is read from its own section (only a number's first eight characters count) and preselected.
TEST(ListingTest, EveryFileTypeIsListedAndClosingRemembersTheChosenEntry) {
    struct Case {
        const wchar_t *request, *fixture, *name, *info;
        Texts headers;
        std::vector<Texts> rows;
        int choose;                                 // the row clicked before closing
        const char *remembered, *seeded = nullptr;  // Floppex.ini after closing (null: none), before the start
        int selected = 0;                           // the row the seed selects
    };
    const Texts disk{L"Filename", L"Blks", L"Type"}, first{L"FIRST", L"1", L"prg"}, second{L"SECOND", L"1", L"prg"},
                third{L"THIRD", L"1", L"prg"};
    const auto rows = [](std::vector<Texts> programs, const std::wstring& free) {  // then two empty rows and the blocks free
        return programs.insert(programs.end(), {{L"", L"", L""}, {L"", L"", L""}, {free + L" Blocks Free", L"", L""}}), programs;
    };
    const Case cases[] = {
        // Three programs, two empty rows, the blocks-free row: 683 - 3 blocks.
        {L"", L"demo.d64", L"demo.d64", L"FLOPPEX DEMO FX 2A", disk, rows({first, second, third}, L"680"), 2, "[Game Indexes]\r\ndemo.d64=3"},
        {L"-p ", L"two.t64", L"two.t64", L"TWO TAPE  C64S tape image file  2/2", {L"Filename"}, {{L"FIRST"}, {L"SECOND"}}, 1,
         "two.t64=2"},
        {L"", L"big.p00", L"BIG.P00", L"PC64 Pxx File", {L"Filename", L"Size(Kb)"}, {{L"BIG", L"1.2"}}, 0, nullptr},
        {L"", L"big.prg", L"big.prg", L"PRG File", {L"Size(Kb)", L"Load Address"}, {{L"1.2", L"$C000 49152"}}, 0, nullptr},
        // The other disks count their free blocks in their own BAM.
        {L"", L"demo.d81", L"demo.d81", L"FLOPPEX DEMO FX 3D", disk, rows({first, second, third}, L"3157"), 1,
         "demo.d81=2", "[Game Indexes]\r\ndemo.d81=000000003"},
        {L"-p ", L"demo.g64", L"demo.g64", L"FLOPPEX DEMO FX 2A", disk, rows({first, second, third}, L"661"), 2, "demo.g64=3"},
        {L"", L"demo.d71", L"demo.d71", L"FLOPPEX DEMO FX 2A", disk, rows({first, second}, L"1326"), 0, "demo.d71=1",
         "[Other]\r\ndemo.d71=9\r\n[Game Indexes]\r\ndemo.d71=2", 1},
        {L"", L"demo.x64", L"demo.x64", L"FLOPPEX DEMO FX 2A", disk, rows({first, second}, L"662"), 0, "X64=1",
         "[Game Indexes]\r\nDEMO.X64=2", 1},  // keys ignore letter case
        {L"", L"cart.crt", L"cart.crt", L"FLOPPEX CART  Generic C64 Cartridge (0)  8k Game",
         {L"Bank", L"Address", L"Size", L"Chip"}, {{L"0", L"$8000", L"$2000", L"ROM"}}, 0, "cart.crt=1"},
        {L"", L"tape.tap", L"tape.tap", L"tape  C64-TAPE-RAW version 1", {L"Filename", L"Type", L"Start", L"Bytes"},
         {{L"HELLO", L"prg", L"$0801", L"38"}, {L"BIG ONE", L"abs", L"$C000", L"1200"}}, 1, "tape.tap=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramFolder folder;
        WriteDword(kWindowKey, L"C64Font", 0);  // the window's own face, whose texts are the listing's
        if (c.seeded) ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), c.seeded));
        AppProcess app(folder.Exe(), c.request + folder.AddFixture(c.fixture, c.name));
        const MainWindow window = WaitForListing(app, c.name);
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.InfoLabel(), c.info);
        EXPECT_EQ(window.Headers(), c.headers);
        EXPECT_EQ(window.Rows(), c.rows);
        EXPECT_EQ(window.SelectedRow(), c.selected);
        EXPECT_TRUE(window.PlayEnabled());
        ASSERT_TRUE(window.Select(c.choose));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
        EXPECT_TRUE(folder.IniIs(c.remembered)) << ReadWholeFile(folder.File(L"Floppex.ini"));
    }
}

TEST(ListingTest, AFileThatCannotBeListedIsReportedAndTheViewReset) {
    const ProgramFolder folder(L"folder with blanks");
    const std::wstring longTail = L"C:\\" + std::wstring(32000, L'x') + L".d64";
    const std::wstring quoted = L"\"" + folder.Path() + L"\\no such   game.d64\"";
    struct Case { std::wstring file; const char* bytes; const wchar_t* caption; std::wstring text; bool icon; };
    // `file` is written with `bytes` and opened, or else it is the command-line tail.
    const Case cases[] = {
        {L"broken.d64", "\xff\xff\xff\xff", L"Floppex!", L"Error reading from D64", true},
        {L"broken.t64", "not a tape", L"Floppex!", L"Error reading from T64", true},
        {L"broken.p00", "C64 file?", L"Floppex!", L"Error reading from Pxx", true},
        {L"broken.prg", "\x01", L"Floppex!", L"Error reading from PRG", true},
        {L"broken.crt", "C64 CARTRIDGE   ", L"Floppex!", L"Error reading from CRT", true},
        {L"empty.tap", "", L"Floppex!", L"Error reading from TAP", true},
        {L"notes.txt", "a text", L"Floppex!", L"File type not supported", false},
        // A request that names no file is reported whole, quotes and blanks kept, a long one shortened.
        {quoted, nullptr, L"Floppex", L"File not found:\n" + quoted, true},
        {L"-p" + folder.Exe(), nullptr, L"Floppex", L"File not found:\n-p" + folder.Exe(), true},
        {longTail, nullptr, L"Floppex", L"File not found:\n" + longTail.substr(0, 260) + L"...", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        if (c.bytes) ASSERT_TRUE(WriteWholeFile(folder.File(c.file), c.bytes));
        AppProcess app(folder.Exe(), c.bytes ? folder.File(c.file) : c.file);
        const MainWindow window(WaitForVisibleWindow(app.Pid(), kMainWindowClass));
        const auto box = WaitForMessageBox(app.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(std::tuple(box->caption, box->text, box->hasIcon), std::tuple(std::wstring(c.caption), c.text, c.icon));
        ASSERT_TRUE(box->PressOk());
        ASSERT_TRUE(window.WaitForFileLabel(kNoGameLoaded));
        EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
        EXPECT_EQ(window.RowCount(), 0);
        EXPECT_FALSE(window.PlayEnabled());
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
}

// A ZIP whose compression method is not decoded in-process: WinZip unpacks it when one is set.
TEST(ListingTest, AZipOfAnUnsupportedMethodIsUnpackedByWinZipWhenOneIsSet) {
    const ProgramFolder folder;
    const std::wstring archive = folder.AddFixture(L"bzip2.zip", L"bzip2.zip");
    {
        AppProcess app(folder.Exe(), archive);
        EXPECT_EQ(AnswerMessageBox(app.Pid()), L"bzip2.zip uses compression method BZIP2 that Floppex cannot unpack.");
        EXPECT_TRUE(WaitForListing(app, kNoGameLoaded).Handle());
    }
    const std::wstring winzip = InstallEmulator(folder, 0, L"winzip32.exe");
    ASSERT_TRUE(CopyFileW(Fixture(L"demo.d64").c_str(), (FolderOf(winzip) + L"\\unpacks.d64").c_str(), FALSE));
    WriteString(kPathsKey, L"WinZipPath", winzip);
    AppProcess app(folder.Exe(), archive);
    const MainWindow window = WaitForListing(app, L"currgame.d64");
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(window.Rows().at(0).at(0), L"FIRST");
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    const std::wstring scratch = folder.File(L"currgame.unpack");
    const auto launches = LaunchesOf(winzip);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].argv, (Texts{winzip, L"-min", L"-e", L"-o", archive, scratch}));
    EXPECT_FALSE(Exists(scratch)) << "the scratch folder is left";
    EXPECT_EQ(ReadWholeFile(folder.File(L"currgame.d64")), ReadWholeFile(Fixture(L"demo.d64")));
}

}  // namespace
}  // namespace floppex::e2e
