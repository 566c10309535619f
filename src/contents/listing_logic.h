#pragma once
// Decisions of the contents listing that do not touch the window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace floppex {

// The file-name and info labels of the empty view.
inline constexpr std::wstring_view kNoGameLoaded = L"No Game Loaded";
inline constexpr std::wstring_view kRightClickToLoad = L"Right-click to Load";

// Last row of a disk listing: the capacity known from the image's length less the blocks the
// directory claims, or "?" when the length is no 1541 image size or the sum does not fit.
std::wstring BlocksFreeText(uint64_t fileLength, int64_t blocksUsed);

// Row to select (1-based) after a listing of rowCount rows for a remembered 0-based entry.
int RowToSelect(int32_t gameIndex, int rowCount);

// Pixels the C64 face leaves free beside a cell's text, left and right together.
inline constexpr int kC64CellMargin = 4;

// The C64 face's character cell in pixels for a list `listPixels` wide: the largest multiple of 8
// at which a disk's row (a 16-character name, 3-digit blocks and a 5-character type, each column
// with its margin) fits, and 8 where none does.
int C64CellPixels(int listPixels);

// Column widths in pixels for the C64 face: each column as wide as it `needs`, the names column
// (`names`, or none when -1) kept at its need, the others given what is left of `listPixels` in
// proportion to their needs when all do not fit; room to spare goes to the last column.
std::vector<int> FitColumns(const std::vector<int>& needs, int names, int listPixels);

}  // namespace floppex
