// A ZIP whose compression method is not decoded in-process: WinZip, when one is set, unpacks it.
#include "driver/message_box.h"
#include "tests/e2e_test.h"
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

class ArchiverTest : public E2eTest {};

TEST_F(ArchiverTest, WithoutWinZipTheMethodIsNamed) {
    const ProgramFolder folder;
    const std::wstring archive = folder.AddFixture(L"bzip2.zip", L"bzip2.zip");
    AppProcess app(folder.Exe(), archive);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"bzip2.zip uses compression method BZIP2 that Floppex cannot unpack.");
    ASSERT_TRUE(box->PressOk());
    EXPECT_EQ(MainWindowView(WaitForMainWindow(app.Pid())).FileLabel(), kNoGameLoaded);
}

TEST_F(ArchiverTest, WinZipUnpacksIntoAScratchFolderAndTheDiskIsListed) {
    const ProgramFolder folder;
    const std::wstring winzip = folder.File(L"winzip") + L"\\winzip32.exe";
    CreateDirectoryW(folder.File(L"winzip").c_str(), nullptr);
    ASSERT_TRUE(CopyOneFile(FakeEmulatorExe(), winzip));
    ASSERT_TRUE(CopyOneFile(FixturePath(L"demo.d64"), folder.File(L"winzip") + L"\\unpacks.d64"));
    WriteString(HKEY_LOCAL_MACHINE, kPathsKey, L"WinZipPath", winzip);
    const std::wstring archive = folder.AddFixture(L"bzip2.zip", L"bzip2.zip");

    AppProcess app(folder.Exe(), archive);
    const MainWindowView window(WaitForListing(app, L"currgame.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(window.Rows().Text(0, 0), L"FIRST");  // shown in the C64's upper-case set
    const auto launches = play::LaunchesOf(winzip);
    ASSERT_EQ(launches.size(), 1u);
    const std::wstring scratch = folder.File(L"currgame.unpack");
    EXPECT_EQ(launches[0].commandLine, L"\"" + winzip + L"\" -min -e -o \"" + archive + L"\" \"" + scratch + L"\"");
    EXPECT_EQ(GetFileAttributesW(scratch.c_str()), INVALID_FILE_ATTRIBUTES) << "the scratch folder is removed";
    EXPECT_EQ(ReadWholeFile(folder.File(L"currgame.d64")), ReadWholeFile(FixturePath(L"demo.d64")));
}

}  // namespace
}  // namespace floppex::e2e
