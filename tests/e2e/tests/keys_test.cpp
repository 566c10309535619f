// The window's keys for its three switches and for closing.
#include "tests/e2e_test.h"

#include "driver/keys.h"
#include "driver/menu_probe.h"

namespace floppex::e2e {
namespace {

class KeysTest : public E2eTest {};

struct Switches {
    bool onTop, keepOpen, multiple;
};

Switches MenuChecks(HWND window) {
    const auto menu = ReadContextMenu(window);
    if (!menu) {
        ADD_FAILURE() << "the window menu did not open";
        return {};
    }
    const auto checked = [&](const wchar_t* text) {
        const auto entry = FindEntry(*menu, text);
        EXPECT_TRUE(entry) << Narrow(text) << " missing";
        return entry && entry->checked;
    };
    return {checked(L"Always On &Top"), checked(L"&Keep Window Open"), checked(L"&Multiple Instances")};
}

bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::optional<DWORD> StoredSwitch(const wchar_t* name) { return ReadDword(HKEY_LOCAL_MACHINE, kWindowKey, name); }

TEST_F(KeysTest, FunctionKeysFlipAndSaveTheSwitchesCtrlXEndsTheProgram) {
    const ProgramFolder folder;
    AppProcess app(folder.Exe(), L"");
    const MainWindowView window(WaitForListing(app, kNoGameLoaded));
    ASSERT_NE(window.Handle(), nullptr);
    // An empty registry: on top and kept open, one window only.
    const Switches before = MenuChecks(window.Handle());
    EXPECT_TRUE(before.onTop && before.keepOpen && !before.multiple);
    EXPECT_TRUE(IsTopmost(window.Handle()));

    // Posted keys are handled in order: once F5 has acted, F2 and F6 have been handled too.
    for (const WORD key : {VK_F2, VK_F6, VK_F12, VK_F11, VK_F5}) PostKey(window.Handle(), key);
    ASSERT_TRUE(WaitUntil([] { return StoredSwitch(L"Multiple").has_value(); }));
    const Switches after = MenuChecks(window.Handle());
    EXPECT_TRUE(!after.onTop && !after.keepOpen && after.multiple);
    EXPECT_FALSE(IsTopmost(window.Handle()));
    EXPECT_EQ(StoredSwitch(L"OnTop"), std::optional<DWORD>(0));
    EXPECT_EQ(StoredSwitch(L"KeepOpen"), std::optional<DWORD>(0));
    EXPECT_NE(StoredSwitch(L"Multiple").value_or(0), 0u);

    PostKey(window.Handle(), VK_F12);
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window.Handle()) && StoredSwitch(L"OnTop").value_or(0) != 0; }));

    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'X'));
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace floppex::e2e
