// The window started without a file: its size, its place, its keys, its about box.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

// Where a child lies in the window's client area.
RECT PlaceOf(HWND window, HWND child) {
    RECT rect = WindowRectOf(child);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void AskFor(HWND window, int x, int y, int width, int height) {
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HCURSOR PointerOver(HWND control) {  // the cursor shown with the real pointer at the control's middle
    const RECT r = WindowRectOf(control);
    CURSORINFO shown{sizeof shown};
    return SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2) && GetCursorInfo(&shown) ? shown.hCursor : nullptr;
}

// The empty view at its designed size; sized within its limits, moved and closed, it opens at the
// same place next time. There, F5, F11 and F12 flip the three switches and store them as REG_DWORD
// 0xFFFFFFFF or 0, both ways, other function keys do nothing; the about box shows the version, opens
// its links and closes with Enter, not Esc; Ctrl+X ends the program.
TEST(WindowTest, EmptyWindowSizesReopensWhereItWasClosedAndTakesItsKeys) {
    const ProgramFolder folder(L"program folder with blanks");
    // An earlier version tied ".crt" (certificates) to Floppex, machine-wide and in the user's hive.
    SetCertificateType(HKEY_LOCAL_MACHINE, L"FloppexCRT"), SetCertificateType(HKEY_CURRENT_USER, L"FloppexCRT");
    RECT closedAt{};
    {
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        const HWND handle = window.Handle();
        ASSERT_NE(handle, nullptr) << "no main window";
        EXPECT_EQ(TextOf(handle).substr(0, 8), L"Floppex!");
        EXPECT_EQ(window.InfoLabel(), kRightClickToLoad);
        EXPECT_FALSE(window.PlayEnabled());
        EXPECT_EQ(window.RowCount(), 0);
        EXPECT_EQ(SizeOf(handle, true), std::pair(TwipsToPixels(3240), TwipsToPixels(3975)));
        // Every start registers the shell's file types, with commands for the program where it lies,
        // once the first listing is drawn: the last type's last command is waited for.
        const auto classes = [](const std::wstring& key) { return ReadValue(key, L"", HKEY_CLASSES_ROOT).value_or(RegistryValue{}).text; };
        ASSERT_TRUE(WaitUntil([&] { return classes(L"FloppexCRT\\Shell\\Play\\command") == folder.Exe() + L" -p %1"; }));
        EXPECT_EQ(classes(L".d64"), L"FloppexD64");
        EXPECT_EQ(classes(L"FloppexD64\\Shell\\Play\\command"), folder.Exe() + L" -p %1");
        // The later disks show the drive, a cartridge its own icon.
        for (const auto& [type, icon] : {std::pair(L"D81", L",1"), {L"G64", L",1"}, {L"CRT", L",8"}}) {
            EXPECT_EQ(classes(L"." + std::wstring(type)), type == std::wstring(L"CRT") ? L"CERFile" : L"Floppex" + std::wstring(type));
            EXPECT_EQ(classes(L"Floppex" + std::wstring(type) + L"\\DefaultIcon"), folder.Exe() + icon);
            EXPECT_EQ(classes(L"Floppex" + std::wstring(type) + L"\\Shell\\Contents...\\command"), folder.Exe() + L" %1");
        }

        // The width is fixed (the client's and the frame's), the height lies between 2000 twips and the screen's.
        const int width = SizeOf(handle).first, screenHeight = GetSystemMetrics(SM_CYSCREEN);
        AskFor(handle, 0, 0, width + 150, 40);
        EXPECT_EQ(SizeOf(handle), std::pair(width, TwipsToPixels(2000)));
        AskFor(handle, 0, 0, width - 100, screenHeight + 300);
        EXPECT_EQ(SizeOf(handle), std::pair(width, screenHeight));
        // The list and the Play button follow the height; the smallest window still has a list.
        for (const int height : {TwipsToPixels(2000), 400, 600}) {
            SCOPED_TRACE(height);
            AskFor(handle, 0, 0, width, height);
            ASSERT_TRUE(window.Sync());
            const int client = SizeOf(handle, true).second;
            const RECT list = PlaceOf(handle, window.Child(ids::kLvGame));
            EXPECT_EQ(list.top, TwipsToPixels(435));
            EXPECT_NEAR(list.bottom - list.top, client - TwipsToPixels(810), 1);
            EXPECT_GT(list.bottom - list.top, 0);
            EXPECT_NEAR(PlaceOf(handle, window.Child(ids::kCmdPlay)).top, client - TwipsToPixels(365), 1);
        }
        AskFor(handle, 123, 45, width, 480);
        ASSERT_TRUE(window.Sync());
        closedAt = WindowRectOf(handle);
        EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
    }
    // ".crt" went back to Windows once; the user's own tie made afterwards stays.
    EXPECT_EQ(ReadValue(L"Software\\Classes\\.crt", L"").value_or(RegistryValue{}).text, L"CERFile");
    EXPECT_FALSE(ReadValue(L"Software\\Classes\\.crt", L"", HKEY_CURRENT_USER));
    SetCertificateType(HKEY_CURRENT_USER, L"FloppexCRT");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\FloppexCRT");  // back once the next start has registered
    // The placement is saved as text; the empty view remembers no game.
    EXPECT_TRUE(folder.IniIs(nullptr));
    for (const wchar_t* name : {L"Top", L"Left", L"Height"})
        EXPECT_EQ(ReadValue(kWindowKey, name).value_or(RegistryValue{}).type, DWORD(REG_SZ)) << name;
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
    ASSERT_NE(window.Handle(), nullptr);
    const RECT openedAt = WindowRectOf(window.Handle());
    ASSERT_TRUE(WaitUntil([] { return ReadValue(L"FloppexCRT\\Shell\\Play\\command", L"", HKEY_CLASSES_ROOT).has_value(); }));
    EXPECT_EQ(ReadValue(L"Software\\Classes\\.crt", L"", HKEY_CURRENT_USER).value_or(RegistryValue{}).text, L"FloppexCRT");
    EXPECT_EQ(std::tuple(openedAt.left, openedAt.top, openedAt.bottom), std::tuple(closedAt.left, closedAt.top, closedAt.bottom));
    const auto stored = [](bool on, bool written) { return written ? std::optional<DWORD>(on ? ~0u : 0) : std::nullopt; };
    // Not stored yet: on top and kept open, one window only; "OnTop" is written at every start.
    for (const auto& [pressed, flipped] : {std::pair{false, false}, std::pair{true, true}, std::pair{true, false}}) {
        SCOPED_TRACE(flipped);
        // Posted keys are handled in order: once F5 has acted, the keys before it have been too.
        if (pressed)
            for (const WORD key : {VK_F2, VK_F6, VK_F12, VK_F11, VK_F5}) PostKey(window.Handle(), key);
        ASSERT_TRUE(WaitUntil([&] { return ReadDword(kWindowKey, L"Multiple") == stored(flipped, pressed); }));
        ASSERT_TRUE(window.Sync());
        EXPECT_EQ(ReadDword(kWindowKey, L"OnTop"), stored(!flipped, true));
        EXPECT_EQ(ReadDword(kWindowKey, L"KeepOpen"), stored(!flipped, pressed));
        EXPECT_EQ((GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, !flipped);
        const auto menu = ReadContextMenu(window.Handle());
        ASSERT_TRUE(menu) << "the window menu did not open";
        EXPECT_EQ(FindEntry(*menu, L"Always On &Top").checked, !flipped);
        EXPECT_EQ(FindEntry(*menu, L"&Keep Window Open").checked, !flipped);
        EXPECT_EQ(FindEntry(*menu, L"&Multiple Instances").checked, flipped);
    }
    const std::wstring handler = InstallEmulator(folder, 0, L"handler.exe");  // the stand-in opens web and mail links
    const std::wstring command = L"\"" + handler + L"\" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"mailto\\shell\\open\\command"})
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(), DWORD((command.size() + 1) * 2));
    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'A'));
    const HWND about = WaitForDialog(app.Pid(), L"About Floppex!");
    ASSERT_NE(about, nullptr) << "no about box";
    EXPECT_EQ(SizeOf(about, true), std::pair(TwipsToPixels(3480), TwipsToPixels(2655)));
    std::vector<std::wstring> texts;
    for (HWND child = nullptr; (child = FindWindowExW(about, child, nullptr, nullptr));) texts.push_back(TextOf(child));
    for (const auto& [shown, count] : {std::pair(L"Floppex!", 2), {L"Version 1.0 BETA", 1}, {L"30 September 1999", 1}})
        EXPECT_EQ(std::count(texts.begin(), texts.end(), shown), count) << shown;  // the title has a shadow
    EXPECT_TRUE(SavePicture(about, L"about"));

    PostKey(GetDlgItem(about, IDOK), VK_ESCAPE);
    ASSERT_TRUE(window.Sync());
    EXPECT_TRUE(IsWindowVisible(about)) << "Esc closed the about box";
    // The real pointer shows another cursor over the links than over the OK button.
    const HCURSOR arrow = PointerOver(GetDlgItem(about, IDOK));
    for (const int link : {ids::kLblWeb, ids::kLblMail}) {
        EXPECT_TRUE(WaitUntil([&] { return PointerOver(GetDlgItem(about, link)) != arrow; })) << "no hand over a link";
        const size_t before = LaunchesOf(handler).size();
        Click(GetDlgItem(about, link));
        ASSERT_TRUE(WaitUntil([&] { return LaunchesOf(handler).size() > before; }));
        EXPECT_EQ(LaunchesOf(handler).back().argv.at(1),
                  (link == ids::kLblMail ? L"mailto:" : L"") + TextOf(GetDlgItem(about, link)));
    }
    EXPECT_TRUE(WaitUntil([&] { return PointerOver(GetDlgItem(about, IDOK)) == arrow; }));
    PostKey(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_TRUE(WaitUntilGone(about) && app.Running());
    ASSERT_TRUE(TypeCtrlKey(window.Handle(), 'X'));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace floppex::e2e
