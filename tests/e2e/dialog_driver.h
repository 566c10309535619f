#pragma once
// Sizes in twips; dialogs found by caption, the Open box filled in, labels clicked, pictures kept.
#include "driver.h"

#include <algorithm>

#include "window/size_limits_logic.h"

namespace floppex::e2e {

// Pixels of a length in twips on this screen, by the program's own conversion (unit-tested).
inline int TwipsToPixels(double twips) {
    HDC screen = GetDC(nullptr);
    const int twipsPerPixel = TwipsPerPixel(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return floppex::TwipsToPixels(twips, twipsPerPixel);
}

// Width and height of the window (as placed on the screen), of its client area, or of a child.
inline std::pair<int, int> SizeOf(HWND window, bool client = false) {
    RECT rect = WindowRectOf(window);
    if (client) GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

inline HWND WaitForDialog(DWORD pid, const std::wstring& caption) { return WaitForVisibleWindow(pid, L"#32770", caption.c_str()); }

inline void Click(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

inline bool IsTopmost(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

inline HWND FocusOf(HWND window) {  // the control with the keyboard focus in the window's thread
    GUITHREADINFO info{sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Whether the screen shows the label's text reaching its right or bottom edge: a text cut off.
inline bool TextReachesEdge(HWND label) {
    RECT client{};
    GetClientRect(label, &client);
    MapWindowPoints(label, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    HDC screen = GetDC(nullptr);
    const COLORREF background = GetPixel(screen, client.left, client.top);
    bool reached = false;
    for (int y = client.top; y < client.bottom; ++y) reached |= GetPixel(screen, client.right - 1, y) != background;
    for (int x = client.left; x < client.right; ++x) reached |= GetPixel(screen, x, client.bottom - 1) != background;
    ReleaseDC(nullptr, screen);
    return reached;
}

// Names typed into the Open box's file name field, then Open pressed.
inline void ChooseInOpenBox(HWND box, const std::wstring& names) {
    SendMessageW(GetDlgItem(box, 1148), WM_SETTEXT, 0, LPARAM(names.c_str())), Press(box, IDOK);
}

// What the screen shows of the window, as NAME.bmp.
inline bool SavePicture(HWND window, const std::wstring& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const RECT rect = WindowRectOf(window);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB};
    std::string pixels(size_t((width * 3 + 3) & ~3) * height, '\0');
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    return rows == height && SaveBmp(name, header, pixels.data(), pixels.size());
}

// drag_source.exe lets go over the middle of the list: a file list of `files` made `length` names
// long, or with no files, data that fails every call. The effect the list reported, if it ended.
inline std::optional<DWORD> DragOntoList(const MainWindow& window, const std::vector<std::wstring>& files, size_t length = 0) {
    const HWND listView = window.Child(ids::kLvGame);
    WaitUntil([&] { return GetPropW(listView, L"OleDropTargetInterface") != nullptr; });  // once registered
    const RECT list = WindowRectOf(listView);
    std::wstring line = std::to_wstring((list.left + list.right) / 2) + L" " + std::to_wstring((list.top + list.bottom) / 2) +
                        L" " + (files.empty() ? L"failing" : std::to_wstring(length));
    for (const std::wstring& file : files) line += L" \"" + file + L"\"";
    const auto code = AppProcess(WindowsPath(FLOPPEX_E2E_DRAG_SOURCE), line).WaitForExit();
    return code < 0x100u ? code : std::nullopt;
}

}  // namespace floppex::e2e
