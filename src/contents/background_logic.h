#pragma once
// The contents list's background: small game figures on a light ground, one tile that repeats.
#include <cstdint>
#include <vector>

namespace floppex {

inline constexpr int kBackgroundWidth = 158, kBackgroundHeight = 204;

// One value per pixel, row by row from the top: 1 where a figure is, 0 for the ground. Every
// figure lies wholly inside the tile, so tiles meet without cutting one.
std::vector<uint8_t> BackgroundPattern();

}  // namespace floppex
