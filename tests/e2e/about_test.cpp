// The about box: what it shows, where its links lead, the keys that close it.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

HCURSOR PointerOver(HWND control) {  // the cursor shown with the real pointer at the control's middle
    const RECT r = WindowRectOf(control);
    CURSORINFO shown{sizeof shown};
    return SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2) && GetCursorInfo(&shown) ? shown.hCursor : nullptr;
}

TEST(AboutTest, ShowsVersionOpensItsLinksAndClosesWithEnterNotEsc) {
    const ProgramFolder folder;
    const std::wstring handler = folder.File(L"handler.exe");
    ASSERT_TRUE(CopyFileW(WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR).c_str(), handler.c_str(), FALSE));
    // The stand-in as the program of web and mail links.
    const std::wstring command = L"\"" + handler + L"\" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"mailto\\shell\\open\\command"})
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(), DWORD((command.size() + 1) * 2));
    AppProcess app(folder.Exe(), L"");
    const MainWindow window = WaitForListing(app, kNoGameLoaded);
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
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(app.Running());
}

}  // namespace
}  // namespace floppex::e2e
