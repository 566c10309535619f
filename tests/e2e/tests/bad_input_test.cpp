// Hostile command lines and registry values: reported or ignored, never fatal.
#include "tests/e2e_test.h"

#include "driver/message_box.h"

namespace floppex::e2e {
namespace {

class BadInputTest : public E2eTest {};

TEST_F(BadInputTest, AVeryLongTailIsReportedAsAMissingFile) {
    const ProgramFolder folder;
    const std::wstring tail = L"C:\\" + std::wstring(32000, L'x') + L".d64";
    AppProcess app(folder.Exe(), tail);
    const MainWindowView window(WaitForMainWindow(app.Pid()));
    ASSERT_NE(window.Handle(), nullptr);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    ASSERT_TRUE(box->PressOk());
    EXPECT_TRUE(window.WaitForFileLabel(kNoGameLoaded));
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
}

// A play request ends normally whatever the default emulator says; a report, if one comes, is
// answered.
TEST_F(BadInputTest, DefaultEmulatorOutOfRangeEndsAPlayRequestNormally) {
    const ProgramFolder folder;
    ConfigureFakeEmulator(folder);
    const std::wstring program = folder.AddFixture(L"hello.prg", L"hello.prg");
    for (const DWORD stored : {DWORD{11}, DWORD{99}, DWORD{0xFFFFFFFF}, DWORD{70000}}) {
        SCOPED_TRACE(stored);
        WriteDword(HKEY_LOCAL_MACHINE, kIntegersKey, L"DefEmu", stored);
        AppProcess app(folder.Exe(), L"-p " + program);
        WaitUntil([&] { return !app.Running() || HasMessageBox(app.Pid()); });
        if (const auto box = app.Running() ? WaitForMessageBox(app.Pid()) : std::nullopt) box->PressOk();
        EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    }
}

TEST_F(BadInputTest, UnreadableFileIsReportedAndTheViewReset) {
    const ProgramFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File(L"broken.d64"), std::string(100, '\xff')));
    AppProcess app(folder.Exe(), folder.File(L"broken.d64"));
    const MainWindowView window(WaitForMainWindow(app.Pid()));
    ASSERT_NE(window.Handle(), nullptr);
    const auto box = WaitForMessageBox(app.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Error reading from D64");
    EXPECT_EQ(box->caption, L"Floppex!");
    EXPECT_TRUE(box->hasIcon);
    ASSERT_TRUE(box->PressOk());
    EXPECT_TRUE(window.WaitForFileLabel(kNoGameLoaded));
    EXPECT_FALSE(window.PlayEnabled());
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace floppex::e2e
