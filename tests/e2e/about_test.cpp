// The about box: what it shows, where its links lead, the keys that close it.
#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

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
    EXPECT_EQ(std::count(texts.begin(), texts.end(), L"Floppex!"), 2);  // the title and its shadow
    for (const wchar_t* shown : {L"Version 1.0 BETA", L"30 September 1999"})
        EXPECT_EQ(std::count(texts.begin(), texts.end(), shown), 1);
    EXPECT_TRUE(SavePicture(about, L"about"));

    PostKey(GetDlgItem(about, IDOK), VK_ESCAPE);
    ASSERT_TRUE(window.Sync());
    EXPECT_TRUE(IsWindowVisible(about)) << "Esc closed the about box";
    for (const int link : {ids::kLblWeb, ids::kLblMail}) {
        const size_t before = LaunchesOf(handler).size();
        Click(GetDlgItem(about, link));
        ASSERT_TRUE(WaitUntil([&] { return LaunchesOf(handler).size() > before; }));
        EXPECT_EQ(LaunchesOf(handler).back().argv.at(1),
                  (link == ids::kLblMail ? L"mailto:" : L"") + TextOf(GetDlgItem(about, link)));
    }
    PostKey(GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(app.Running());
}

}  // namespace
}  // namespace floppex::e2e
