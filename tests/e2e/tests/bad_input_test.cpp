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
