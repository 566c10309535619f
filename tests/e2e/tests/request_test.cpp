// How the command-line tail is sorted into an open request, a play request or the empty view.
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

class RequestTest : public E2eTest {};

// The request names no file: the window reports it with the whole request as the path and
// returns to the empty view.
void ExpectMissingFileReported(const ProgramFolder& folder, const std::wstring& tail) {
    AppProcess app(folder.Exe(), tail);
    const MainWindowView window(WaitForMainWindow(app.Pid()));
    ASSERT_NE(window.Handle(), nullptr) << "an open request shows the window";
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box) << "no report of the missing file";
    EXPECT_EQ(box->caption, L"Floppex");
    EXPECT_NE(box->text.find(tail), std::wstring::npos) << "request not in the report: " << Narrow(box->text);
    ASSERT_TRUE(box->PressOk());
    ASSERT_TRUE(window.WaitForFileLabel(kNoGameLoaded));
    EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
    EXPECT_FALSE(window.PlayEnabled());
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
}

TEST_F(RequestTest, PlayPrefixIgnoresLetterCaseButNeedsItsBlank) {
    const ProgramFolder folder;
    play::InstallEmulator(folder, 0, L"ccs64.exe");
    const std::wstring program = folder.AddFixture(L"hello.prg", L"hello.prg");

    for (const std::wstring prefix : {L"-P ", L"-p "}) {
        SCOPED_TRACE(Narrow(prefix));
        // A program file is played at once: the window is never needed and the program ends.
        AppProcess app(folder.Exe(), prefix + program);
        EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
        EXPECT_FALSE(HasVisibleWindow(app.Pid(), kMainWindowClass));
    }
    // Without the blank the whole tail is a path, and no such file exists.
    ExpectMissingFileReported(folder, L"-p" + program);
}

TEST_F(RequestTest, PlainPathIsListed) {
    const ProgramFolder folder;
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(WaitForListing(app, L"demo.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_TRUE(window.PlayEnabled());
    const ListViewReader rows = window.Rows();
    EXPECT_EQ(rows.Headers(), (std::vector<std::wstring>{L"Filename", L"Blks", L"Type"}));
    // Three programs, two empty rows, the blocks-free row: 683 - 3 blocks.
    ASSERT_EQ(rows.RowCount(), 6);
    EXPECT_EQ(rows.Column(1), (std::vector<std::wstring>{L"1", L"1", L"1", L"", L"", L""}));
    EXPECT_EQ(rows.Text(3, 0), L"");
    EXPECT_EQ(rows.Text(4, 0), L"");
    EXPECT_EQ(rows.Text(5, 0), L"680 Blocks Free");
    EXPECT_EQ(rows.SelectedRow(), 0);
}

TEST_F(RequestTest, PlayRequestPlaysARememberedEntryAtOnceAndListsOtherwise) {
    const ProgramFolder folder;
    play::InstallEmulator(folder, 0, L"ccs64.exe");
    const std::wstring disk = folder.AddFixture(L"demo.d64", L"demo.d64");
    {
        AppProcess app(folder.Exe(), L"-p " + disk);
        const MainWindowView window(WaitForListing(app, L"demo.d64"));
        ASSERT_NE(window.Handle(), nullptr) << "nothing remembered: the disk is listed";
        EXPECT_EQ(window.Rows().SelectedRow(), 0);
    }
    ASSERT_TRUE(WriteWholeFile(folder.File(L"Floppex.ini"), "[Game Indexes]\r\ndemo.d64=2\r\n"));
    ResetRegistry();
    play::InstallEmulator(folder, 0, L"ccs64.exe");
    AppProcess app(folder.Exe(), L"-P " + disk);
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0)) << "a remembered entry is played at once";
    // The never-shown window still saves its placement on the way out.
    for (const wchar_t* name : {L"Top", L"Left", L"Height"})
        EXPECT_TRUE(ValueType(HKEY_LOCAL_MACHINE, kWindowKey, name).has_value()) << Narrow(name) << " not saved";
}

TEST_F(RequestTest, QuotedPathWithBlanksArrivesUnsplitWithItsQuotes) {
    const ProgramFolder folder(L"folder with blanks");
    ExpectMissingFileReported(folder, L"\"" + folder.Path() + L"\\no such   game.d64\"");
}

}  // namespace
}  // namespace floppex::e2e
