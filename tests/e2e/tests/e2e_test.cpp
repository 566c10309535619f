#include "tests/e2e_test.h"

#include <cmath>

namespace floppex::e2e {

int TwipsToPixels(double twips, bool vertical) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const double twipsPerPixel = std::nearbyint(1440.0 / dpi);
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

HWND WaitForListing(const AppProcess& app, const std::wstring& label) {
    const MainWindowView window(WaitForMainWindow(app.Pid()));
    return window.Handle() && window.WaitForFileLabel(label) ? window.Handle() : nullptr;
}

}  // namespace floppex::e2e
