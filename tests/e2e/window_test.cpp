// The empty window: how it opens, sizes, remembers its place, and its keys.
#include "driver.h"

namespace floppex::e2e {
namespace {

class WindowTest : public E2eTest {};

SIZE OuterSize(HWND window) {
    const RECT rect = WindowRectOf(window);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void AskForSize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Started without a file: the empty view at its designed size; sized within its limits, moved and
// closed, it opens at the same place next time.
TEST_F(WindowTest, EmptyWindowSizesWithinItsLimitsAndReopensWhereItWasClosed) {
    const ProgramFolder folder(L"program folder with blanks");
    RECT closedAt{};
    {
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        ASSERT_NE(window.Handle(), nullptr) << "no main window";
        const HWND handle = window.Handle();
        EXPECT_EQ(TextOf(handle).substr(0, 8), L"Floppex!");
        EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
        EXPECT_FALSE(window.PlayEnabled());
        EXPECT_EQ(window.RowCount(), 0);
        EXPECT_EQ(ClientSizeOf(handle).cx, TwipsToPixels(3240, false));
        EXPECT_EQ(ClientSizeOf(handle).cy, TwipsToPixels(3975, true));
        // Every start registers the shell's file types, with commands for the program where it lies.
        EXPECT_EQ(ReadString(L".d64", L"", HKEY_CLASSES_ROOT), L"FloppexD64");
        EXPECT_EQ(ReadString(L"FloppexD64\\Shell\\Play\\command", L"", HKEY_CLASSES_ROOT),
                  folder.Exe() + L" -p %1");

        const int trackWidth = TwipsToPixels(3360, false), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        AskForSize(handle, trackWidth + 150, 40);
        EXPECT_EQ(OuterSize(handle).cx, trackWidth);
        EXPECT_EQ(OuterSize(handle).cy, TwipsToPixels(2000, true));
        AskForSize(handle, trackWidth - 100, screenHeight + 300);
        EXPECT_EQ(OuterSize(handle).cx, trackWidth);
        EXPECT_EQ(OuterSize(handle).cy, screenHeight);
        // The list and the Play button follow the height; the smallest window still has a list.
        for (const int height : {TwipsToPixels(2000, true), 400, 600}) {
            SCOPED_TRACE(height);
            AskForSize(handle, trackWidth, height);
            ASSERT_TRUE(window.Sync());
            const int client = ClientSizeOf(handle).cy;
            RECT list = WindowRectOf(window.Child(ids::kLvGame)), play = WindowRectOf(window.Child(ids::kCmdPlay));
            MapWindowPoints(HWND_DESKTOP, handle, reinterpret_cast<POINT*>(&list), 2);
            MapWindowPoints(HWND_DESKTOP, handle, reinterpret_cast<POINT*>(&play), 2);
            EXPECT_EQ(list.top, TwipsToPixels(435, true));
            EXPECT_NEAR(list.bottom - list.top, client - TwipsToPixels(810, true), 1);
            EXPECT_GT(list.bottom - list.top, 0);
            EXPECT_NEAR(play.top, client - TwipsToPixels(365, true), 1);
        }

        SetWindowPos(handle, nullptr, 123, 45, trackWidth, 480, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(window.Sync());
        closedAt = WindowRectOf(handle);
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
    // Closing the empty view saves the placement (as text) but remembers no game.
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));
    for (const wchar_t* name : {L"Top", L"Left", L"Height"})
        EXPECT_EQ(ValueType(kWindowKey, name), std::optional<DWORD>(REG_SZ)) << Narrow(name);

    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    ASSERT_NE(window.Handle(), nullptr);
    const RECT openedAt = WindowRectOf(window.Handle());
    EXPECT_EQ(openedAt.left, closedAt.left);
    EXPECT_EQ(openedAt.top, closedAt.top);
    EXPECT_EQ(openedAt.bottom - openedAt.top, closedAt.bottom - closedAt.top);
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
}

// F5, F11 and F12 flip the three switches and store them as REG_DWORD 0xFFFFFFFF or 0, both ways;
// other function keys do nothing; Ctrl+X ends the program.
TEST_F(WindowTest, FunctionKeysFlipAndStoreTheSwitchesCtrlXEndsTheProgram) {
    const ProgramFolder folder;
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    ASSERT_NE(window.Handle(), nullptr);
    const auto stored = [](const wchar_t* name) { return ReadDword(kWindowKey, name); };
    const auto asStored = [](bool on, bool written) {
        return written ? std::optional<DWORD>(on ? 0xFFFFFFFF : 0) : std::nullopt;
    };
    struct Step {
        bool pressKeys, onTop, keepOpen, multiple;
    };
    // From an empty registry: on top and kept open, one window only; "OnTop" is stored at every start.
    for (const Step& step : {Step{false, true, true, false}, Step{true, false, false, true}, Step{true, true, true, false}}) {
        SCOPED_TRACE(step.multiple);
        // Posted keys are handled in order: once F5 has acted, the keys before it have been too.
        if (step.pressKeys)
            for (const WORD key : {VK_F2, VK_F6, VK_F12, VK_F11, VK_F5}) PostKey(window.Handle(), key);
        ASSERT_TRUE(WaitUntil([&] { return stored(L"Multiple") == asStored(step.multiple, step.pressKeys); }));
        ASSERT_TRUE(window.Sync());
        EXPECT_EQ(stored(L"OnTop"), asStored(step.onTop, true));
        EXPECT_EQ(stored(L"KeepOpen"), asStored(step.keepOpen, step.pressKeys));
        EXPECT_EQ(IsTopmost(window.Handle()), step.onTop);
        const auto menu = ReadContextMenu(window.Handle());
        ASSERT_TRUE(menu) << "the window menu did not open";
        const auto checked = [&](const wchar_t* text) { return FindEntry(*menu, text).value_or(MenuEntry{}).checked; };
        EXPECT_EQ(checked(L"Always On &Top"), step.onTop);
        EXPECT_EQ(checked(L"&Keep Window Open"), step.keepOpen);
        EXPECT_EQ(checked(L"&Multiple Instances"), step.multiple);
    }
    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'X'));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace floppex::e2e
