#include "window/size_limits_logic.h"

#include <cmath>
#include <limits>

namespace floppex {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMinTrackHeightTwips = 2000.0;
constexpr int kLargestPixelCount = 1 << 20;

}  // namespace

std::optional<int32_t> RoundHalfEven(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

int TwipsPerPixel(int dotsPerInch) {
    if (dotsPerInch <= 0) return 15;
    const int whole = RoundHalfEven(kTwipsPerInch / dotsPerInch).value_or(1);
    return whole < 1 ? 1 : whole;
}

int TwipsToPixels(double twips, int twipsPerPixel) {
    const double pixels = twips / (twipsPerPixel < 1 ? 1 : twipsPerPixel);
    if (std::isnan(pixels)) return 0;
    if (pixels > kLargestPixelCount) return kLargestPixelCount;
    if (pixels < -kLargestPixelCount) return -kLargestPixelCount;
    return *RoundHalfEven(pixels);
}

SizeLimits ComputeSizeLimits(int widthPixels, int twipsPerPixelY, int screenHeightPixels) {
    const double screenHeightTwips = static_cast<double>(screenHeightPixels) * twipsPerPixelY;
    SizeLimits limits;
    limits.minTrackWidth = widthPixels;
    limits.minTrackHeight = TwipsToPixels(kMinTrackHeightTwips, twipsPerPixelY);
    limits.maxTrackWidth = limits.minTrackWidth;
    limits.maxTrackHeight = TwipsToPixels(screenHeightTwips, twipsPerPixelY);
    return limits;
}

}  // namespace floppex
