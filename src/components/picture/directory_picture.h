#pragma once
// The directory picture: the listing's screen rows drawn in the C64 face, 8 x 8 C64 pixels a
// character, the grid kBorder C64 pixels in from the top left, in the C64's colours.
#include <cstdint>
#include <span>
#include <vector>

#include "c64/petscii.h"
#include "picture/directory_screen.h"
#include "picture/png_writer.h"

namespace floppex::picture {

constexpr int kBorder = 32;                      // C64 pixels around the grid
constexpr Rgb kBackground = {0x35, 0x28, 0x79};  // colour 6, blue (Pepto's palette)
constexpr Rgb kInk = {0x6c, 0x5e, 0xb5};         // colour 14, light blue: text and border
constexpr int kMinScale = 1, kMaxScale = 8;
constexpr int kMinSide = 16, kMaxSide = 1024;

struct PictureSize {
    int width = 0;
    int height = 0;
    int scale = 1;  // picture pixels per C64 pixel, each way
};

// Each C64 pixel scale x scale: the whole grid and its border.
PictureSize ScaledSize(int rows, int scale);

// A side x side thumbnail: the largest whole scale at which the grid's width and both borders
// fit, or 1; what does not fit is cut off on the right and at the bottom.
PictureSize ThumbnailSize(int side);

// Row y of the picture, one byte a pixel: 0 background, 1 ink or border.
void PictureRow(const std::vector<ScreenRow>& screen, petscii::CharSet set, const PictureSize& size, int y,
                std::span<uint8_t> pixels);

std::vector<uint8_t> DirectoryPng(const std::vector<ScreenRow>& screen, petscii::CharSet set, const PictureSize& size);

}  // namespace floppex::picture
