// The main window's controls, menus and layout.
#include "contents/main_layout.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "contents/c64_face.h"
#include "window/control_ids.h"
#include "window/emulator_catalogue.h"
#include "window/twips.h"

namespace floppex {

namespace {

constexpr wchar_t kPreferredFont[] = L"Terminal";
// Wine and some systems have no "Terminal": Tahoma is a TrueType face that stays legible at
// 6 points and, unlike the raster faces, lets the system substitute glyphs for C64 graphics.
constexpr wchar_t kFallbackFont[] = L"Tahoma";
constexpr int kFontPoints = 6;

struct ControlPlace {
    double left, top, width, height;
};

constexpr ControlPlace kLblFilenamePlace{80, 60, 2775, 135};
constexpr ControlPlace kLblInfoPlace{80, 255, 2775, 135};
constexpr ControlPlace kLvGamePlace{0, 435, 3255, 3135};
constexpr ControlPlace kCmdPlayPlace{0, 3600, 3255, 375};
constexpr double kListBottomMargin = 810;  // client height less list height
constexpr double kPlayFromBottom = 365;    // client height less the Play button's top

// The client area's height in twips, or nothing while it is too low to lay out (minimised).
std::optional<double> ClientHeightTwips(const MainWindow& window) {
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const double height = static_cast<double>(client.bottom) * window.twipsPerPixelY;
    if (height < kListBottomMargin) return std::nullopt;
    return height;
}

// The list and the Play button follow the client's height; without one, their designed places.
ControlPlace ListPlace(std::optional<double> clientHeight) {
    if (!clientHeight) return kLvGamePlace;
    return {kLvGamePlace.left, kLvGamePlace.top, kLvGamePlace.width, *clientHeight - kListBottomMargin};
}
ControlPlace PlayPlace(std::optional<double> clientHeight) {
    if (!clientHeight) return kCmdPlayPlace;
    return {kCmdPlayPlace.left, *clientHeight - kPlayFromBottom, kCmdPlayPlace.width, kCmdPlayPlace.height};
}

// Moves a child to its place, unless it is there: a list view lays out its header again at
// every move.
void Place(const MainWindow& window, HWND child, const ControlPlace& place) {
    RECT now{};
    GetWindowRect(child, &now);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&now), 2);
    const RECT wanted{TwipsX(window, place.left), TwipsY(window, place.top),
                      TwipsX(window, place.left) + TwipsX(window, place.width),
                      TwipsY(window, place.top) + TwipsY(window, place.height)};
    if (EqualRect(&now, &wanted)) return;
    SetWindowPos(child, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontExists(HDC dc, const wchar_t* face, BYTE charset) {
    LOGFONTW query{};
    query.lfCharSet = charset;
    wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &query, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT CreateWindowFont() {
    HDC dc = GetDC(nullptr);
    const bool terminal = FontExists(dc, kPreferredFont, OEM_CHARSET);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(kFontPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = terminal ? OEM_CHARSET : DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, terminal ? kPreferredFont : kFallbackFont, LF_FACESIZE - 1);
    ReleaseDC(nullptr, dc);
    return CreateFontIndirectW(&font);
}

HWND CreateChild(MainWindow& window, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 const ControlPlace& place, DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, TwipsX(window, place.left),
                                 TwipsY(window, place.top), TwipsX(window, place.width), TwipsY(window, place.height),
                                 window.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window.hwnd, GWLP_HINSTANCE)), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(window.font), FALSE);
    return child;
}

HMENU BuildFileMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, ids::kMnuOpen, L"&Open...\tCtrl+O");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ids::kMnuOnTop, L"Always On &Top\tF12");
    AppendMenuW(menu, MF_STRING, ids::kMnuKeepOpen, L"&Keep Window Open\tF11");
    AppendMenuW(menu, MF_STRING, ids::kMnuMult, L"&Multiple Instances\tF5");
    AppendMenuW(menu, MF_STRING, ids::kMnuC64Font, L"C64 &Font");
    AppendMenuW(menu, MF_STRING, ids::kMnuC64LowerCase, L"C64 &Lower Case");
    AppendMenuW(menu, MF_STRING, ids::kMnuCopyDirectory, L"&Copy Directory\tCtrl+C");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ids::kMnuOptions, L"&Options...");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ids::kMnuHelp, L"&Help...\tF1");
    AppendMenuW(menu, MF_STRING, ids::kMnuAbout, L"&About...\tCtrl+A");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ids::kMnuExit, L"E&xit\tCtrl+X");
    return menu;
}

HMENU BuildEmulatorMenu() {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < kEmulatorCount; ++i)
        AppendMenuW(menu, MF_STRING, ids::kPmnuEmuFirst + i, std::wstring(kEmulators[i].menuCaption).c_str());
    return menu;
}

// The Play button opens the emulator menu as soon as the right button goes down on it.
LRESULT CALLBACK PlayButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
    if (message == WM_RBUTTONDOWN || message == WM_CONTEXTMENU) {
        auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(GetParent(button), GWLP_USERDATA));
        if (window && message == WM_RBUTTONDOWN) {
            POINT at{};
            GetCursorPos(&at);
            TrackPopupMenu(window->pmnuEmulators, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window->hwnd, nullptr);
        }
        return 0;
    }
    return CallWindowProcW(previous, button, message, wParam, lParam);
}

}  // namespace

void BuildControls(MainWindow& window) {
    // Made where the layout puts them for the size the window is created with, so that showing
    // it has nothing to move.
    const std::optional<double> clientHeight = ClientHeightTwips(window);
    window.font = CreateWindowFont();
    window.lblFilename = CreateChild(window, L"STATIC", L"Filename", SS_LEFT | SS_NOPREFIX, ids::kLblFilename,
                                     kLblFilenamePlace);
    window.lblInfo = CreateChild(window, L"STATIC", L"File Info", SS_LEFT | SS_NOPREFIX, ids::kLblInfo, kLblInfoPlace);
    window.lvGame = CreateChild(window, WC_LISTVIEWW, L"",
                                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, ids::kLvGame,
                                ListPlace(clientHeight), WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(window.lvGame, LVS_EX_FULLROWSELECT);
    window.cmdPlay = CreateChild(window, L"BUTTON", L"&Play Game", BS_DEFPUSHBUTTON | WS_TABSTOP, ids::kCmdPlay,
                                 PlayPlace(clientHeight));
    SetWindowLongPtrW(window.cmdPlay, GWLP_USERDATA,
                      SetWindowLongPtrW(window.cmdPlay, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlayButtonProc)));
    window.mnuFile = BuildFileMenu();
    window.pmnuEmulators = BuildEmulatorMenu();
    LoadC64Face(window);
}

void LayoutControls(MainWindow& window) {
    const std::optional<double> clientHeight = ClientHeightTwips(window);
    if (!clientHeight) return;  // minimised: nothing sensible to lay out
    Place(window, window.lvGame, ListPlace(clientHeight));
    Place(window, window.cmdPlay, PlayPlace(clientHeight));
}

}  // namespace floppex
