// Twips-to-pixel conversions and the main window's tracking limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/size_limits_logic.h"

namespace floppex {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(2147483647.0), 2147483647);
    EXPECT_FALSE(RoundHalfEven(2147483648.0));
    EXPECT_FALSE(RoundHalfEven(-2147483649.0));
    EXPECT_FALSE(RoundHalfEven(std::nan("")));
    EXPECT_FALSE(RoundHalfEven(std::numeric_limits<double>::infinity()));
}

TEST(TwipsPerPixel, WholeNumberAtCommonAndOddResolutions) {
    EXPECT_EQ(TwipsPerPixel(96), 15);
    EXPECT_EQ(TwipsPerPixel(120), 12);
    EXPECT_EQ(TwipsPerPixel(144), 10);
    EXPECT_EQ(TwipsPerPixel(100), 14);   // 14.4
    EXPECT_EQ(TwipsPerPixel(192), 8);    // 7.5 goes to even
    EXPECT_EQ(TwipsPerPixel(320), 4);    // 4.5 goes to even
    EXPECT_EQ(TwipsPerPixel(0), 15);     // a broken display report keeps the usual value
    EXPECT_EQ(TwipsPerPixel(5000), 1);   // never zero
}

TEST(TwipsToPixels, RoundsAndClamps) {
    EXPECT_EQ(TwipsToPixels(4335, 15), 289);
    EXPECT_EQ(TwipsToPixels(3975, 15), 265);
    EXPECT_EQ(TwipsToPixels(22.5, 15), 2);   // 1.5
    EXPECT_EQ(TwipsToPixels(37.5, 15), 2);   // 2.5
    EXPECT_EQ(TwipsToPixels(std::nan(""), 15), 0);
    EXPECT_EQ(TwipsToPixels(1e30, 15), 1 << 20);
    EXPECT_EQ(TwipsToPixels(-1e30, 15), -(1 << 20));
    EXPECT_EQ(TwipsToPixels(-150, 15), -10);
}

TEST(SizeLimits, FixedWidthAndHeightUpToTheScreen) {
    const SizeLimits at96 = ComputeSizeLimits(15, 15, 768);
    EXPECT_EQ(at96.minTrackWidth, 224);
    EXPECT_EQ(at96.maxTrackWidth, 224);
    EXPECT_EQ(at96.minTrackHeight, 133);  // 133.33
    EXPECT_EQ(at96.maxTrackHeight, 768);

    const SizeLimits at120 = ComputeSizeLimits(12, 12, 1024);
    EXPECT_EQ(at120.minTrackWidth, 280);
    EXPECT_EQ(at120.minTrackHeight, 167);  // 166.67
    EXPECT_EQ(at120.maxTrackHeight, 1024);

    // Horizontal and vertical resolutions are used each for their own direction.
    const SizeLimits mixed = ComputeSizeLimits(10, 32, 600);
    EXPECT_EQ(mixed.minTrackWidth, 336);
    EXPECT_EQ(mixed.minTrackHeight, 62);  // 62.5 goes to even
    EXPECT_EQ(mixed.maxTrackHeight, 600);
}

}  // namespace
}  // namespace floppex
