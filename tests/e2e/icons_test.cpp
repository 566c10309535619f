// Floppex.exe's icons and manifest, read from the built file as the shell reads them.
#include <algorithm>

#include "driver.h"

namespace floppex::e2e {
namespace {

constexpr int kIcons = 9, kCell = 52, kSizes[] = {16, 32, 48};

// Draws every icon at 16, 32 and 48 pixels into one contact sheet, icons.png beside this test.
TEST(Icons, NineIconsAtEachSizeAndOnlyTheFirstAndEighthShowTheLogo) {
    const std::wstring exe = WindowsPath(FLOPPEX_E2E_EXE);
    ASSERT_EQ(PrivateExtractIconsW(exe.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0), UINT{kIcons});
    const int w = kIcons * kCell, h = 3 * kCell;
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP sheet = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, sheet);
    std::fill_n(static_cast<uint32_t*>(bits), w * h, 0xC8D2E6u);
    for (int row = 0; row < 3; ++row) {
        for (int i = 0, size = kSizes[row]; i < kIcons; ++i) {
            HICON icon = nullptr;
            ASSERT_EQ(PrivateExtractIconsW(exe.c_str(), i, size, size, &icon, nullptr, 1, 0), 1u) << i;
            ICONINFO parts{}; BITMAP color{};
            ASSERT_TRUE(GetIconInfo(icon, &parts) && GetObjectW(parts.hbmColor, sizeof color, &color));
            EXPECT_TRUE(color.bmWidth == size && color.bmHeight == size) << "icon " << i << " at " << size;
            DrawIconEx(dc, i * kCell + 2, row * kCell + 2, icon, size, size, 0, nullptr, DI_NORMAL);
            DeleteObject(parts.hbmColor), DeleteObject(parts.hbmMask), DestroyIcon(icon);
        }
    }
    GdiFlush();
    std::vector<uint32_t> px(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
    SelectObject(dc, old), DeleteObject(sheet), DeleteDC(dc);
    auto at = [&](int y, int icon) { return px.data() + y * w + icon * kCell; };
    auto same = [&](int row, int i, int j) {  // the cells of icons i and j in that row
        for (int y = row * kCell; y < (row + 1) * kCell; ++y)
            if (!std::equal(at(y, i), at(y, i) + kCell, at(y, j))) return false;
        return true;
    };
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(same(row, 0, 7)) << "icons 0 and 7 differ at " << kSizes[row];
        for (int i : {1, 2, 3, 4, 5, 6, 8})
            EXPECT_FALSE(same(row, i, 0) || same(row, i, 7)) << "icon " << i << " is the logo";
    }
    EXPECT_TRUE(SaveBmp(L"icons", info.bmiHeader, px.data(), px.size() * 4));
}

}  // namespace
}  // namespace floppex::e2e
