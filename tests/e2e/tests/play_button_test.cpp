// The Play button's emulator menu: opened by the right button, greyed where no program is
// configured, and playing with the chosen emulator.
#include "driver/menu_probe.h"
#include "driver/keys.h"
#include "tests/play_support.h"

namespace floppex::e2e {
namespace {

using namespace play;

constexpr wchar_t kPopupClass[] = L"#32768";

const std::vector<std::wstring> kMenuCaptions = {
    L"CCS64 v1.09", L"CCS64 v2.0 (Dos)", L"CCS64 v2.0 (Win)", L"VICE", L"WinVICE", L"C64S v2.52", L"Win64",
    L"PC64 v1.22 (Dos)", L"PC64 c2.14 (Win)", L"Come Back 64 v0.9a", L"Frodo v4.1.1 (Load Only)",
};

// The right button going down on Play; the entries of the menu that opens (left open).
std::optional<std::vector<MenuEntry>> PressRightButtonOnPlay(const MainWindowView& window) {
    return RecordMenu(
        window.Handle(), [&] { PostMessageW(window.PlayButton(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)); }, false,
        kPatienceMs);
}

HWND OpenPopup(DWORD pid) {
    HWND popup = nullptr;
    WaitUntil([&] {
        for (HWND candidate : TopLevelWindows(pid, kPopupClass))
            if (IsWindowVisible(candidate)) popup = candidate;
        return popup != nullptr;
    });
    return popup;
}

class PlayButtonTest : public E2eTest {};

TEST_F(PlayButtonTest, RightButtonListsTheEmulatorsGreyingThoseWithoutAProgram) {
    const ProgramFolder folder;
    InstallEmulator(folder, 3, L"x64.exe");
    InstallEmulator(folder, 7, L"pc64.exe");
    const std::wstring gone = InstallEmulator(folder, 0, L"ccs64.exe");
    DeleteFileW(gone.c_str());
    AppProcess app(folder.Exe(), folder.AddFixture(L"play.d64", L"play.d64"));
    const MainWindowView window(OpenListed(app, L"play.d64"));
    ASSERT_NE(window.Handle(), nullptr);

    const auto entries = PressRightButtonOnPlay(window);
    ASSERT_TRUE(entries) << "no menu opened";
    std::vector<std::wstring> captions;
    std::vector<int> enabled;
    for (size_t i = 0; i < entries->size(); ++i) {
        captions.push_back((*entries)[i].text);
        if ((*entries)[i].enabled) enabled.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(captions, kMenuCaptions);
    EXPECT_EQ(enabled, (std::vector<int>{3, 7}));
    const HWND popup = OpenPopup(app.Pid());
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !HasVisibleWindow(app.Pid(), kPopupClass); }));
    // Closing the menu without a choice leaves everything as it was.
    ASSERT_TRUE(window.Sync());
    EXPECT_TRUE(app.Running());
    EXPECT_FALSE(FileExists(folder.File(L"Floppex.ini")));
    EXPECT_EQ(app.Close(kPatienceMs), std::optional<DWORD>(0));
}

// The chosen entry, not the default emulator, plays the game; without "Keep Window Open" the
// window then closes.
TEST_F(PlayButtonTest, ChosenEntryPlaysWithThatEmulator) {
    const ProgramFolder folder;
    std::vector<std::wstring> emulators;
    for (int emu = 0; emu < 11; ++emu) emulators.push_back(InstallEmulator(folder, emu, L"emulator.exe"));
    SetDefaultEmulator(0);
    KeepWindowOpen(false);
    const std::wstring disk = folder.AddFixture(L"play.d64", L"play.d64");
    AppProcess app(folder.Exe(), disk);
    const MainWindowView window(OpenListed(app, L"play.d64"));
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_TRUE(window.Rows().Select(2));
    ASSERT_TRUE(window.Sync());

    const auto entries = PressRightButtonOnPlay(window);
    ASSERT_TRUE(entries);
    const HWND popup = OpenPopup(app.Pid());
    ASSERT_NE(popup, nullptr);
    for (int step = 0; step <= 3; ++step) PostKey(popup, VK_DOWN);  // the first press reaches entry 0
    PostKey(popup, VK_RETURN);

    const auto launch = WaitForLaunch(emulators[3]);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->commandLine, Quoted(emulators[3]) + L" -autostart " + Quoted(disk + L":gamma"));
    EXPECT_EQ(app.WaitForExit(kPatienceMs), std::optional<DWORD>(0));
    EXPECT_EQ(LaunchesOf(emulators[3]).size(), 1u);
    EXPECT_FALSE(FileExists(LogOf(emulators[0]))) << "the default emulator was started";
}

}  // namespace
}  // namespace floppex::e2e
