// Opening a game file from the command line, as a double-click in the shell does: it is listed,
// or the person is told why not and the window shows the empty view.
#include "driver.h"

namespace floppex::e2e {
namespace {

class ListingTest : public E2eTest {};

using Row = std::vector<std::wstring>;

TEST_F(ListingTest, EveryFileTypeIsListedWithItsInfoLineAndClosingRemembersTheChosenEntry) {
    struct Case {
        const wchar_t* fixture;
        const wchar_t* name;
        const wchar_t* info;
        Row headers;
        std::vector<Row> rows;
        int choose;              // the row clicked before closing
        const char* remembered;  // then in Floppex.ini, or null for no Floppex.ini
    };
    const Case cases[] = {
        {L"demo.d64", L"demo.d64", L"FLOPPEX DEMO FX 2A", {L"Filename", L"Blks", L"Type"},
         // Three programs, two empty rows, the blocks-free row: 683 - 3 blocks.
         {{L"FIRST", L"1", L"prg"}, {L"SECOND", L"1", L"prg"}, {L"THIRD", L"1", L"prg"}, {L"", L"", L""},
          {L"", L"", L""}, {L"680 Blocks Free", L"", L""}},
         2, "demo.d64=3"},
        {L"two.t64", L"two.t64", L"TWO TAPE  C64S tape image file  2/2", {L"Filename"}, {{L"FIRST"}, {L"SECOND"}},
         1, "two.t64=2"},
        {L"big.p00", L"BIG.P00", L"PC64 Pxx File", {L"Filename", L"Size(Kb)"}, {{L"BIG", L"1.2"}}, 0, nullptr},
        {L"big.prg", L"big.prg", L"PRG File", {L"Size(Kb)", L"Load Address"}, {{L"1.2", L"$C000 49152"}}, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const ProgramFolder folder;
        AppProcess app(folder.Exe(), folder.AddFixture(c.fixture, c.name));
        const MainWindow window = WaitForListing(app, c.name);
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.InfoLabel(), c.info);
        EXPECT_EQ(window.Headers(), c.headers);
        EXPECT_EQ(window.Rows(), c.rows);
        EXPECT_EQ(window.SelectedRow(), 0);
        EXPECT_TRUE(window.PlayEnabled());
        ASSERT_TRUE(window.Select(c.choose));
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
        if (c.remembered)
            EXPECT_TRUE(folder.IniHas(std::string("[Game Indexes]\r\n") + c.remembered)) << ReadWholeFile(folder.File(L"Floppex.ini"));
        else
            EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));
    }
}

TEST_F(ListingTest, AFileThatCannotBeListedIsReportedAndTheViewReset) {
    const ProgramFolder folder(L"folder with blanks");
    const std::wstring longTail = L"C:\\" + std::wstring(32000, L'x') + L".d64";
    const std::wstring quoted = L"\"" + folder.Path() + L"\\no such   game.d64\"";
    const std::wstring prg = folder.AddFixture(L"hello.prg", L"hello.prg");
    struct Case {
        std::wstring name;  // a file written into the folder, or none
        const char* bytes;
        std::wstring tail;  // the command-line tail, when not the file's path
        const wchar_t* caption;
        std::wstring text;
        bool icon;
    };
    const Case cases[] = {
        {L"broken.d64", "\xff\xff\xff\xff", L"", L"Floppex!", L"Error reading from D64", true},
        {L"broken.t64", "not a tape", L"", L"Floppex!", L"Error reading from T64", true},
        {L"broken.p00", "C64 file?", L"", L"Floppex!", L"Error reading from Pxx", true},
        {L"broken.prg", "\x01", L"", L"Floppex!", L"Error reading from PRG", true},
        {L"notes.txt", "a text", L"", L"Floppex!", L"File type not supported", false},
        // A request that names no file is reported whole, quotes and blanks kept; a long one shortened.
        {L"", nullptr, quoted, L"Floppex", L"File not found:\n" + quoted, true},
        {L"", nullptr, L"-p" + prg, L"Floppex", L"File not found:\n-p" + prg, true},
        {L"", nullptr, longTail, L"Floppex", L"File not found:\n" + longTail.substr(0, 260) + L"...", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text.substr(0, 80)));
        if (c.bytes) ASSERT_TRUE(WriteWholeFile(folder.File(c.name), c.bytes));
        AppProcess app(folder.Exe(), c.bytes ? folder.File(c.name) : c.tail);
        const MainWindow window(WaitForVisibleWindow(app.Pid(), kMainWindowClass));
        const auto box = WaitForMessageBox(app.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, c.caption);
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(box->hasIcon, c.icon);
        ASSERT_TRUE(box->PressOk());
        ASSERT_TRUE(window.WaitForFileLabel(kNoGameLoaded));
        EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
        EXPECT_EQ(window.RowCount(), 0);
        EXPECT_FALSE(window.PlayEnabled());
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
}

TEST_F(ListingTest, TheRememberedEntryIsPreselected) {
    struct Stored {
        const char* ini;  // contents of Floppex.ini, or null for none
        int selectedRow;  // in the listing of many.d64 (17 rows)
    };
    const Stored cases[] = {
        {nullptr, 0},
        {"[Game Indexes]\r\nmany.d64=2\r\n", 1},
        {"[Game Indexes]\r\nmany.d64=12\r\n", 11},
        {"[Game Indexes]\r\nmany.d64=  7xyz\r\n", 6},  // leading blanks skipped, the leading number taken
        {"[Game Indexes]\r\nmany.d64=abc\r\n", 0},
        {"[Game Indexes]\r\nmany.d64=000000012\r\n", 0},  // only the first eight characters count
        {"[Game Indexes]\r\nMANY.D64=5\r\n", 4},           // keys ignore letter case
        {"[Game Indexes]\r\nmany.d64=99\r\n", 0},          // beyond the last row
        {"[Other]\r\nmany.d64=5\r\n", 0},
    };
    for (const Stored& stored : cases) {
        SCOPED_TRACE(stored.ini ? stored.ini : "no Floppex.ini");
        const ProgramFolder folder;
        const std::wstring disk = folder.AddFixture(L"many.d64", L"many.d64");
        if (stored.ini) ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), stored.ini));
        AppProcess app(folder.Exe(), disk);
        const MainWindow window = WaitForListing(app, L"many.d64");
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_EQ(window.RowCount(), 17);
        EXPECT_EQ(window.SelectedRow(), stored.selectedRow);
    }
}

// A ZIP whose compression method is not decoded in-process: WinZip unpacks it when one is set.
TEST_F(ListingTest, AZipOfAnUnsupportedMethodIsUnpackedByWinZipWhenOneIsSet) {
    const ProgramFolder folder;
    const std::wstring archive = folder.AddFixture(L"bzip2.zip", L"bzip2.zip");
    {
        AppProcess app(folder.Exe(), archive);
        const auto box = WaitForMessageBox(app.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, L"bzip2.zip uses compression method BZIP2 that Floppex cannot unpack.");
        ASSERT_TRUE(box->PressOk());
        EXPECT_TRUE(WaitForListing(app, kNoGameLoaded).Handle());
    }
    const std::wstring winzip = InstallEmulator(folder, 0, L"winzip32.exe");
    ASSERT_TRUE(CopyFileW(Fixture(L"demo.d64").c_str(), (FolderOf(winzip) + L"\\unpacks.d64").c_str(), FALSE));
    WriteString(kPathsKey, L"WinZipPath", winzip);
    AppProcess app(folder.Exe(), archive);
    const MainWindow window = WaitForListing(app, L"currgame.d64");
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(window.Cell(0, 0), L"FIRST");
    const auto launches = LaunchesOf(winzip);
    const std::wstring scratch = folder.File(L"currgame.unpack");
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].argv, (Row{winzip, L"-min", L"-e", L"-o", archive, scratch}));
    EXPECT_EQ(GetFileAttributesW(scratch.c_str()), INVALID_FILE_ATTRIBUTES) << "the scratch folder is removed";
    EXPECT_EQ(ReadWholeFile(folder.File(L"currgame.d64")), ReadWholeFile(Fixture(L"demo.d64")));
}

}  // namespace
}  // namespace floppex::e2e
