// The about box: a shadowed title, version and date, the copyright and two links to the maker.
#include "about/about_box.h"

#include <string>

#include "components/system/program_launcher.h"
#include "window/control_ids.h"
#include "window/dialog_frame.h"
#include "window/topmost.h"

namespace floppex {

namespace {

constexpr double kClientWidth = 3480, kClientHeight = 2655;
constexpr TwipsRect kFrame1{120, 960, 3255, 1095};
constexpr int kLabelId = -1;  // labels that nothing refers to
constexpr COLORREF kBlue = RGB(0, 0, 255), kDarkRed = RGB(128, 0, 0);

struct AboutBox {
    MainWindow* window = nullptr;
    HFONT font = nullptr, titleFont = nullptr, linkFont = nullptr;
    HWND shadowTitle = nullptr, title = nullptr;
};

HFONT CreateTitleFont() {
    HDC dc = GetDC(nullptr);
    const int height = -MulDiv(18, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

// Inside the caption-less frame, places count from the frame's corner.
TwipsRect InFrame(TwipsRect place) {
    place.left += kFrame1.left;
    place.top += kFrame1.top;
    return place;
}

void OnInitDialog(HWND dialog, AboutBox& box) {
    const MainWindow& window = *box.window;
    FitClientAndCentre(window, dialog, kClientWidth, kClientHeight);
    box.font = CreateDialogFont(window.font);
    box.titleFont = CreateTitleFont();
    box.linkFont = CreateUnderlinedFont(box.font);
    const auto add = [&](const wchar_t* className, std::wstring_view text, DWORD style, int id, TwipsRect place,
                         HFONT font) { return AddControl(window, dialog, className, text, style, id, place, font); };
    HWND logo = add(L"STATIC", L"", SS_ICON, ids::kImgLogo, {120, 120, 480, 480}, box.font);
    SendMessageW(logo, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadImageW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
                                                     MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED)),
                 0);
    // The title twice, the dark red one 30 twips to the right and 15 up: a shadowed title.
    box.title = add(L"STATIC", kAppTitle, SS_CENTER | SS_NOPREFIX, kLabelId, {600, 120, 2265, 435}, box.titleFont);
    box.shadowTitle = add(L"STATIC", kAppTitle, SS_CENTER | SS_NOPREFIX, kLabelId, {630, 105, 2265, 435}, box.titleFont);
    add(L"STATIC", L"Version 1.0 BETA", SS_CENTER, kLabelId, {120, 600, 3300, 195}, box.font);
    add(L"STATIC", L"30 September 1999", SS_CENTER, kLabelId, {120, 840, 3300, 195}, box.font);
    add(L"BUTTON", L"", BS_GROUPBOX, kLabelId, kFrame1, box.font);
    add(L"STATIC", L"Copyright (c) 1999 Brindale", SS_CENTER | SS_NOPREFIX, kLabelId, InFrame({120, 240, 3015, 255}),
        box.font);
    add(L"STATIC", L"http://www.brindale.example", SS_CENTER | SS_NOPREFIX | SS_NOTIFY, ids::kLblWeb,
        InFrame({120, 480, 3015, 255}), box.linkFont);
    add(L"STATIC", L"floppex@brindale.example", SS_CENTER | SS_NOPREFIX | SS_NOTIFY, ids::kLblMail,
        InFrame({120, 720, 3015, 255}), box.linkFont);
    HWND ok = add(L"BUTTON", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, {1200, 2160, 1095, 375}, box.font);
    SetFocus(ok);
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The links open whatever the labels show at the moment of the click.
void OnCommand(HWND dialog, int id) {
    if (id == IDOK) {
        EndDialog(dialog, IDOK);
    } else if (id == ids::kLblWeb) {
        ProgramLauncher().OpenDocument(TextOf(GetDlgItem(dialog, id)), dialog);
    } else if (id == ids::kLblMail) {
        ProgramLauncher().OpenDocument(L"mailto:" + TextOf(GetDlgItem(dialog, id)), dialog);
    }
    // IDCANCEL (Esc) is ignored: the box has no cancel button.
}

INT_PTR OnColour(const AboutBox& box, HDC dc, HWND label) {
    if (label == box.title || label == box.shadowTitle) {
        SetTextColor(dc, label == box.title ? kBlue : kDarkRed);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    const int id = GetDlgCtrlID(label);
    if (id == ids::kLblWeb || id == ids::kLblMail) SetTextColor(dc, kBlue);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        OnInitDialog(dialog, *reinterpret_cast<AboutBox*>(lParam));
        return FALSE;  // the focus is on OK already
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return box ? OnColour(*box, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)) : FALSE;
    case WM_SETCURSOR:
        return ShowHandOverClickable(dialog, reinterpret_cast<HWND>(wParam), {ids::kLblWeb, ids::kLblMail});
    case WM_CLOSE:
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowAbout(MainWindow& window) {
    SuspendTopmost(window);
    AboutBox box{&window};
    RunModalDialog(window, L"About Floppex!", AboutProc, &box);
    DeleteObject(box.font);
    DeleteObject(box.titleFont);
    DeleteObject(box.linkFont);
    if (!window.unloaded) RestoreTopmost(window);
}

}  // namespace floppex
