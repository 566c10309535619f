#pragma once
// A PNG of two colours (one bit per pixel, indexed), its rows asked for one at a time so that
// only the compressed picture is ever held whole.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace floppex::picture {

struct Rgb {
    uint8_t r, g, b;
};

// row(y, pixels) fills pixels (width of them) with 0 for colours[0] and 1 for colours[1].
using RowSource = std::function<void(int y, std::span<uint8_t> pixels)>;

std::vector<uint8_t> TwoColourPng(int width, int height, const std::array<Rgb, 2>& colours, const RowSource& row);

}  // namespace floppex::picture
