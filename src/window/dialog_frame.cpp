// Modal dialogs built from an empty template and laid out in twips.
#include "window/dialog_frame.h"

#include <string>
#include <vector>

#include "window/twips.h"

namespace floppex {

INT_PTR RunModalDialog(MainWindow& window, std::wstring_view caption, DLGPROC proc, void* state) {
    // DLGTEMPLATE, then no menu, the standard class and the caption; WORD-aligned, DWORD at the start.
    std::vector<WORD> layout(sizeof(DLGTEMPLATE) / sizeof(WORD) + 2);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(layout.data());
    header->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    header->dwExtendedStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    layout.insert(layout.end(), caption.begin(), caption.end());
    layout.push_back(0);
    return DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window.hwnd, GWLP_HINSTANCE)),
                                   reinterpret_cast<DLGTEMPLATE*>(layout.data()), window.hwnd, proc,
                                   reinterpret_cast<LPARAM>(state));
}

void FitClientAndCentre(const MainWindow& window, HWND dialog, double widthTwips, double heightTwips) {
    RECT outer{}, client{};
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    const int width = TwipsX(window, widthTwips) + (outer.right - outer.left) - client.right;
    const int height = TwipsY(window, heightTwips) + (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND AddControl(const MainWindow& window, HWND dialog, const wchar_t* className, std::wstring_view text,
                DWORD style, int id, const TwipsRect& place, HFONT font) {
    const std::wstring caption(text);
    HWND control = CreateWindowExW(0, className, caption.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   TwipsX(window, place.left), TwipsY(window, place.top), TwipsX(window, place.width),
                                   TwipsY(window, place.height), dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HFONT CreateDialogFont(HFONT windowFont) {
    LOGFONTW description{};
    GetObjectW(windowFont, sizeof description, &description);
    description.lfWeight = FW_NORMAL;
    return CreateFontIndirectW(&description);
}

HFONT CreateUnderlinedFont(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    return CreateFontIndirectW(&description);
}

bool ShowHandOverClickable(HWND dialog, HWND under, std::initializer_list<int> clickableIds) {
    if (GetParent(under) != dialog) return false;
    const int id = GetDlgCtrlID(under);
    for (const int clickable : clickableIds) {
        if (id != clickable) continue;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return true;
    }
    return false;
}

}  // namespace floppex
