// The contents list's background picture, drawn at start from a small pattern rather than kept
// as a bitmap in the program.
#include "contents/list_background.h"

#include <commctrl.h>

#include "contents/background_logic.h"

namespace floppex {

namespace {

constexpr RGBQUAD kGround{242, 242, 242, 0};  // blue, green, red: light grey
constexpr RGBQUAD kFigure{218, 218, 218, 0};

HBITMAP DrawBackground() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = kBackgroundWidth;
    info.header.biHeight = -kBackgroundHeight;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.colours[0] = kGround;
    info.colours[1] = kFigure;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    const std::vector<uint8_t> pattern = BackgroundPattern();
    const int stride = (kBackgroundWidth + 3) & ~3;
    for (int y = 0; y < kBackgroundHeight; ++y)
        for (int x = 0; x < kBackgroundWidth; ++x)
            static_cast<uint8_t*>(bits)[y * stride + x] = pattern[static_cast<size_t>(y) * kBackgroundWidth + x];
    return bitmap;
}

// The list's own procedure and the ground's brush, kept in the list's user data. Subclassed by
// replacing the procedure rather than with SetWindowSubclass, whose per-message property look-up
// is a server round trip under Wine and made every row added at start-up cost a third of a
// millisecond.
struct ListGround {
    WNDPROC previous;
    HBRUSH brush;
};

// The ground is tiled from the first row's corner, so it moves with the rows when they scroll.
LRESULT CALLBACK ListBackgroundProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* ground = reinterpret_cast<ListGround*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        POINT origin{0, 0};
        RECT first{}, header{};
        if (ListView_GetItemRect(list, 0, &first, LVIR_BOUNDS)) {
            GetClientRect(ListView_GetHeader(list), &header);
            origin = {first.left, first.top - header.bottom};
        }
        SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
        RECT client{};
        GetClientRect(list, &client);
        FillRect(dc, &client, ground->brush);
        return TRUE;
    }
    const WNDPROC previous = ground->previous;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrW(list, GWLP_USERDATA, 0);
        DeleteObject(ground->brush);
        delete ground;
    }
    return CallWindowProcW(previous, list, message, wParam, lParam);
}

}  // namespace

void SetListBackground(MainWindow& window) {
    HBITMAP picture = DrawBackground();
    if (!picture) return;
    HBRUSH brush = CreatePatternBrush(picture);  // a copy: the picture is not needed afterwards
    DeleteObject(picture);
    if (!brush) return;
    ListView_SetBkColor(window.lvGame, CLR_NONE);
    ListView_SetTextBkColor(window.lvGame, CLR_NONE);
    auto* ground = new ListGround{nullptr, brush};
    SetWindowLongPtrW(window.lvGame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(ground));
    ground->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window.lvGame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListBackgroundProc)));
}

}  // namespace floppex
