// The window's size limits and the layout that follows its height.
#include "tests/e2e_test.h"

namespace floppex::e2e {
namespace {

class WindowSizeTest : public E2eTest {};

SIZE OuterSize(HWND window) {
    const RECT rect = WindowRectOf(window);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void AskForSize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(WindowSizeTest, WidthIsFixedHeightLimitedAndTheLayoutFollowsIt) {
    const ProgramFolder folder;
    AppProcess app(folder.Exe(), L"");
    const MainWindowView window(WaitForListing(app, kNoGameLoaded));
    ASSERT_NE(window.Handle(), nullptr);
    const int trackWidth = TwipsToPixels(3360, false);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    AskForSize(window.Handle(), trackWidth + 150, 40);
    EXPECT_EQ(OuterSize(window.Handle()).cx, trackWidth);
    EXPECT_EQ(OuterSize(window.Handle()).cy, TwipsToPixels(2000, true));
    const RECT smallest = ChildRectOf(window.Handle(), window.List());
    EXPECT_GT(smallest.bottom - smallest.top, 0) << "the smallest window leaves no list";

    AskForSize(window.Handle(), trackWidth - 100, screenHeight + 300);
    EXPECT_EQ(OuterSize(window.Handle()).cx, trackWidth);
    EXPECT_EQ(OuterSize(window.Handle()).cy, screenHeight);

    // The list and the Play button follow the height.
    for (const int height : {400, 200, 600}) {
        SCOPED_TRACE(height);
        AskForSize(window.Handle(), OuterSize(window.Handle()).cx, height);
        ASSERT_TRUE(window.Sync());
        const int client = ClientSizeOf(window.Handle()).cy;
        const RECT list = ChildRectOf(window.Handle(), window.List());
        const RECT play = ChildRectOf(window.Handle(), window.PlayButton());
        EXPECT_EQ(list.top, TwipsToPixels(435, true));
        EXPECT_NEAR(list.bottom - list.top, client - TwipsToPixels(810, true), 1);
        EXPECT_NEAR(play.top, client - TwipsToPixels(365, true), 1);
    }
}

}  // namespace
}  // namespace floppex::e2e
