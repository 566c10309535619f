// Floppex.exe's icons and manifest, read from the built file as the shell reads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kIcons = 8, kCell = 52, kSizes[] = {16, 32, 48};

std::wstring ExePath() {
    std::wstring path = L"Z:";
    for (char c : std::string(FLOPPEX_E2E_EXE)) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// An RGB PNG of top-down 0x00RRGGBB pixels, deflated as stored blocks.
std::string Png(const std::vector<uint32_t>& px, int w, int h) {
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    std::string raw, z = "\x78\x01", png = "\x89PNG\r\n\x1a\n";  // z: zlib stream
    auto chunk = [&](const std::string& body) {  // the type, then the data
        uint32_t crc = ~0u;
        for (unsigned char c : body) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
        }
        png += be32(static_cast<uint32_t>(body.size() - 4)) + body + be32(~crc);
    };
    for (int i = 0; i < w * h; ++i) {
        if (i % w == 0) raw += '\0';
        for (int s : {16, 8, 0}) raw += static_cast<char>(px[i] >> s);
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
    for (size_t at = 0, n; at < raw.size(); at += n) {
        n = std::min<size_t>(65535, raw.size() - at);
        z += static_cast<char>(at + n == raw.size());
        for (uint16_t v : {static_cast<uint16_t>(n), static_cast<uint16_t>(~n)}) z += char(v), z += char(v >> 8);
        z.append(raw, at, n);
    }
    chunk("IHDR" + be32(w) + be32(h) + std::string("\x08\x02\0\0\0", 5));  // 8-bit RGB
    chunk("IDAT" + z + be32(b << 16 | a)), chunk("IEND");
    return png;
}

}  // namespace

// Draws every icon at 16, 32 and 48 pixels into one contact sheet, icons.png beside this test.
TEST(Icons, EightIconsAtEachSizeAndOnlyTheEndsShowTheLogo) {
    const std::wstring exe = ExePath();
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
        for (int i = 1; i <= 6; ++i)
            EXPECT_FALSE(same(row, i, 0) || same(row, i, 7)) << "icon " << i << " is the logo";
    }
    wchar_t self[MAX_PATH];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    path = path.substr(0, path.rfind(L'\\') + 1) + L"icons.png";
    const std::string png = Png(px, w, h);
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fwrite(png.data(), 1, png.size(), f), png.size()), fclose(f);
    std::printf("contact sheet: %ls\n", path.c_str());
}

TEST(Icons, ManifestIsEmbedded) {
    HMODULE exe = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr), FreeLibrary(exe);
}
