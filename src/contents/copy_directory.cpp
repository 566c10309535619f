// The directory to paste anywhere: its picture and its text on the clipboard.
#include "contents/copy_directory.h"

#include <cstring>
#include <string>
#include <vector>

#include "contents/c64_face.h"
#include "contents/show_contents.h"
#include "picture/directory_picture.h"
#include "window/text.h"

namespace floppex {

namespace {

constexpr int kScale = 2;

// Clipboard memory holding `bytes`, or null.
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* at = memory ? GlobalLock(memory) : nullptr;
    if (!at) return memory ? GlobalFree(memory) : nullptr;
    std::memcpy(at, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// The picture as a device-independent bitmap of two colours, bottom row first.
std::vector<uint8_t> PictureDib(const C64Listing& listing, petscii::CharSet set) {
    const std::vector<picture::ScreenRow> screen = picture::DirectoryScreen(listing);
    const picture::PictureSize size = picture::ScaledSize(static_cast<int>(screen.size()), kScale);
    const size_t stride = static_cast<size_t>((size.width + 31) / 32 * 4);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{{sizeof(BITMAPINFOHEADER), size.width, size.height, 1, 1, BI_RGB}, {}};
    info.header.biClrUsed = 2;
    for (const auto& [index, colour] : {std::pair{0, picture::kBackground}, {1, picture::kInk}})
        info.colours[index] = {colour.b, colour.g, colour.r, 0};
    std::vector<uint8_t> dib(sizeof info + stride * static_cast<size_t>(size.height));
    std::memcpy(dib.data(), &info, sizeof info);
    std::vector<uint8_t> pixels(static_cast<size_t>(size.width));
    for (int y = 0; y < size.height; ++y) {
        picture::PictureRow(screen, set, size, y, pixels);
        uint8_t* line = dib.data() + sizeof info + stride * static_cast<size_t>(size.height - 1 - y);
        for (size_t x = 0; x < pixels.size(); ++x) line[x / 8] |= static_cast<uint8_t>(pixels[x] << (7 - x % 8));
    }
    return dib;
}

std::wstring TableText(const C64Listing& listing) {
    std::wstring text = Widen(TextOf(listing.info)) + L"\r\n";
    for (const std::vector<std::wstring>& row : TableRows(listing, std::nullopt)) {
        size_t columns = row.size();
        while (columns > 1 && row[columns - 1].empty()) --columns;
        for (size_t column = 0; column < columns; ++column) text += (column ? L"\t" : L"") + row[column];
        text += L"\r\n";
    }
    return text;
}

}  // namespace

void CopyDirectory(MainWindow& window) {
    if (!window.shown || !OpenClipboard(window.hwnd)) return;
    EmptyClipboard();
    const std::vector<uint8_t> dib = PictureDib(*window.shown, C64FaceOf(window).value_or(petscii::CharSet::UpperCase));
    const std::wstring text = TableText(*window.shown);
    for (const auto& [format, data] : {std::pair{UINT{CF_DIB}, GlobalCopy(dib.data(), dib.size())},
                                       {UINT{CF_UNICODETEXT}, GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t))}})
        if (data && !SetClipboardData(format, data)) GlobalFree(data);
    CloseClipboard();
}

}  // namespace floppex
