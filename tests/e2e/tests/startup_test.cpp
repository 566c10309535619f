// Start without a request and shut-down of the empty window.
#include "tests/e2e_test.h"

namespace floppex::e2e {
namespace {

class StartupTest : public E2eTest {};

TEST_F(StartupTest, EmptyViewHasItsDesignedSizeAndClosingItRemembersNoGame) {
    const ProgramFolder folder(L"program folder with blanks");
    AppProcess app(folder.Exe(), L"");
    ASSERT_TRUE(app.Started());
    const MainWindowView window(WaitForListing(app, kNoGameLoaded));
    ASSERT_NE(window.Handle(), nullptr) << "no main window";

    EXPECT_EQ(ClassNameOf(window.Handle()), kMainWindowClass);
    EXPECT_EQ(window.Caption().substr(0, 8), L"Floppex!");
    EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
    EXPECT_FALSE(window.PlayEnabled());
    EXPECT_EQ(window.Rows().RowCount(), 0);
    const SIZE client = ClientSizeOf(window.Handle());
    EXPECT_EQ(client.cx, TwipsToPixels(3240, false));
    EXPECT_EQ(client.cy, TwipsToPixels(3975, true));
    // Every start registers the shell's file types, with commands for the program where it lies.
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, L".d64", L""), L"FloppexD64");
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, L"FloppexD64\\Shell\\Play\\command", L""),
              folder.Path() + L"\\Floppex.exe -p %1");

    // Closing the empty view saves the placement but remembers no game.
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));
    for (const wchar_t* name : {L"Top", L"Left", L"Height"})
        EXPECT_TRUE(ValueType(HKEY_LOCAL_MACHINE, kWindowKey, name).has_value()) << Narrow(name) << " not saved";
}

}  // namespace
}  // namespace floppex::e2e
