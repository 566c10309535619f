// The main window's class and its own procedure: a dispatcher to one handler per event.
#include "app/main_window_proc.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/main_commands.h"
#include "contents/c64_face.h"
#include "contents/list_background.h"
#include "contents/main_layout.h"
#include "open/drop_target.h"
#include "window/control_ids.h"
#include "window/size_limits_logic.h"
#include "window/twips.h"
#include "window/window_services.h"

namespace floppex {

namespace {

MainWindow* WindowOf(HWND hwnd) { return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW& create) {
    auto* window = static_cast<MainWindow*>(create.lpCreateParams);
    window->hwnd = hwnd;
    BuildControls(*window);
    SetListBackground(*window);
    return 0;
}

// A row chosen by the user (mouse or keys) becomes the chosen entry; the listing's own
// selection of the remembered row does not. A click counts also on the row already selected,
// which may show a remembered entry the listing could not select.
LRESULT OnListNotify(MainWindow& window, NMHDR& header) {
    if (header.code == NM_CUSTOMDRAW) return OnListCustomDraw(window, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    if (window.listing) return 0;
    if (header.code == NM_CLICK) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0) window.gameIndex = click.iItem;
        return 0;
    }
    if (header.code != LVN_ITEMCHANGED) return 0;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
        window.gameIndex = change.iItem;
    return 0;
}

// Right button released over the window, its labels or the list: the file menu. The Play
// button handles its own right button.
void OnContextMenu(MainWindow& window, LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    TrackPopupMenu(window.mnuFile, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window.hwnd, nullptr);
}

LRESULT CALLBACK MainWindowClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    MainWindow* window = WindowOf(hwnd);
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && window->lvGame) LayoutControls(*window);
        return 0;
    case WM_COMMAND:
        OnCommand(*window, LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->idFrom != static_cast<UINT_PTR>(ids::kLvGame)) return 0;
        return OnListNotify(*window, *reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        OnContextMenu(*window, lParam);
        return 0;
    case WM_SETCURSOR:
        if (!window->busy) break;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));  // also over the child controls
        return TRUE;
    case WM_CLOSE:
        Unload(*window);
        return 0;
    case WM_ENDSESSION:  // logging off ends the program like a close: placement and entry are saved
        if (wParam) Unload(*window);
        return 0;
    case WM_DESTROY:
        StopListDrops(*window);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        window->hwnd = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = MainWindowClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // No icon: a tool window shows none (no caption icon, taskbar button or Alt+Tab entry); the
    // shell takes the program's icons from its resources.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass.data();
    return RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, MainWindow& window) {
    HDC dc = GetDC(nullptr);
    window.twipsPerPixelX = TwipsPerPixel(GetDeviceCaps(dc, LOGPIXELSX));
    window.twipsPerPixelY = TwipsPerPixel(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    // A sizable tool window: small caption, no minimise or maximise box.
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kWindowClass.data(), kInitialCaption.data(),
                           WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                           TwipsX(window, 3360), TwipsY(window, 4335), nullptr, nullptr, instance, &window);
}

}  // namespace floppex
