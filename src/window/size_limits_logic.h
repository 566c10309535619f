#pragma once
// Twips, pixels and the main window's tracking limits.
#include <cstdint>
#include <optional>

namespace floppex {

// Nearest integer with halves going to the even neighbour; nothing when outside int32 or NaN.
std::optional<int32_t> RoundHalfEven(double value);

// Twips per pixel at a resolution in dots per inch, as a whole number (at least 1).
int TwipsPerPixel(int dotsPerInch);

// Converts twips to whole pixels (halves to even), clamped to a range any window can take.
int TwipsToPixels(double twips, int twipsPerPixel);

struct SizeLimits {
    int32_t minTrackWidth = 0, minTrackHeight = 0;
    int32_t maxTrackWidth = 0, maxTrackHeight = 0;
};

// The window keeps the width start-up gave it; its height lies between a fixed minimum and the screen.
SizeLimits ComputeSizeLimits(int widthPixels, int twipsPerPixelY, int screenHeightPixels);

}  // namespace floppex
