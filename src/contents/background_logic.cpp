#include "contents/background_logic.h"

#include <array>
#include <cstddef>

namespace floppex {

namespace {

// 8 x 8 figures, one byte per row, the high bit leftmost: an invader, a ghost, a muncher, a
// ship, a skull and a joystick.
constexpr std::array<std::array<uint8_t, 8>, 6> kFigures{{
    {0x24, 0x7E, 0xDB, 0xFF, 0xFF, 0x7E, 0x24, 0x42},
    {0x3C, 0x7E, 0xDB, 0xDB, 0xFF, 0xFF, 0xFF, 0xAA},
    {0x3C, 0x7E, 0xF8, 0xF0, 0xF0, 0xF8, 0x7E, 0x3C},
    {0x18, 0x18, 0x3C, 0x7E, 0xFF, 0xDB, 0x18, 0x24},
    {0x3C, 0x7E, 0xDB, 0xFF, 0xE7, 0x7E, 0x5A, 0x00},
    {0x04, 0x04, 0x04, 0x08, 0x3C, 0x7E, 0x7E, 0x7E},
}};

constexpr int kScale = 2;        // each figure pixel is 2 x 2 screen pixels
constexpr int kColumns = 4, kRows = 4;
constexpr int kCellWidth = kBackgroundWidth / kColumns;   // 39
constexpr int kCellHeight = kBackgroundHeight / kRows;    // 51
constexpr int kFigureSize = 8 * kScale;

}  // namespace

std::vector<uint8_t> BackgroundPattern() {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(kBackgroundWidth) * kBackgroundHeight, 0);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const auto& figure = kFigures[static_cast<std::size_t>(row * kColumns + column) % kFigures.size()];
            // Every other row shifted by half the free space, so the figures do not stand in lines.
            const int shift = (row % 2) ? (kCellWidth - kFigureSize) / 3 : -(kCellWidth - kFigureSize) / 3;
            const int left = column * kCellWidth + (kCellWidth - kFigureSize) / 2 + shift;
            const int top = row * kCellHeight + (kCellHeight - kFigureSize) / 2;
            for (int y = 0; y < kFigureSize; ++y)
                for (int x = 0; x < kFigureSize; ++x)
                    if (figure[static_cast<std::size_t>(y / kScale)] & (0x80 >> (x / kScale)))
                        pixels[static_cast<std::size_t>(top + y) * kBackgroundWidth + static_cast<std::size_t>(left + x)] = 1;
        }
    }
    return pixels;
}

}  // namespace floppex
