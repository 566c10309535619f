#include "picture/directory_picture.h"

#include <algorithm>

namespace floppex::picture {

namespace {

#include "glyph_table.inc"

constexpr int kCell = 8;
constexpr int kGridWidth = kColumns * kCell;

// The cell's eight pixels in row line (0-7), the leftmost in the top bit.
uint8_t GlyphRow(uint8_t screenCode, petscii::CharSet set, int line) {
    const uint8_t(&glyphs)[128][8] = set == petscii::CharSet::LowerCase ? kGlyphs2 : kGlyphs1;
    const uint8_t bits = glyphs[screenCode & 0x7f][line];
    return screenCode & 0x80 ? static_cast<uint8_t>(~bits) : bits;
}

}  // namespace

PictureSize ScaledSize(int rows, int scale) {
    return {(kGridWidth + 2 * kBorder) * scale, (rows * kCell + 2 * kBorder) * scale, scale};
}

PictureSize ThumbnailSize(int side) {
    return {side, side, std::max(1, side / (kGridWidth + 2 * kBorder))};
}

void PictureRow(const std::vector<ScreenRow>& screen, petscii::CharSet set, const PictureSize& size, int y,
                std::span<uint8_t> pixels) {
    std::fill(pixels.begin(), pixels.end(), uint8_t{1});
    const int origin = kBorder * size.scale;
    const int gridY = (y - origin) / size.scale;
    if (y < origin || gridY >= static_cast<int>(screen.size()) * kCell) return;
    const ScreenRow& row = screen[static_cast<size_t>(gridY / kCell)];
    const int end = std::min(static_cast<int>(pixels.size()), origin + kGridWidth * size.scale);
    // A cell's glyph row at a time, each of its dots scale pixels wide; a whole cell at scale 1 in one go.
    for (int x = origin, cell = 0; x < end; ++cell) {
        const uint8_t bits = GlyphRow(row[static_cast<size_t>(cell)], set, gridY % kCell);
        if (size.scale == 1 && x + kCell <= end) {
            for (int bit = 0; bit < kCell; ++bit) pixels[static_cast<size_t>(x + bit)] = (bits >> (kCell - 1 - bit)) & 1;
            x += kCell;
            continue;
        }
        for (int bit = kCell - 1; bit >= 0 && x < end; --bit) {
            const auto dot = static_cast<uint8_t>((bits >> bit) & 1);
            for (int wide = 0; wide < size.scale && x < end; ++wide) pixels[static_cast<size_t>(x++)] = dot;
        }
    }
}

std::vector<uint8_t> DirectoryPng(const std::vector<ScreenRow>& screen, petscii::CharSet set, const PictureSize& size) {
    return TwoColourPng(size.width, size.height, {kBackground, kInk},
                        [&](int y, std::span<uint8_t> pixels) { PictureRow(screen, set, size, y, pixels); });
}

}  // namespace floppex::picture
