#pragma once
// Decisions of the contents listing that do not touch the window.
#include <cstdint>
#include <string>
#include <string_view>

namespace floppex {

// The file-name and info labels of the empty view.
inline constexpr std::wstring_view kNoGameLoaded = L"No Game Loaded";
inline constexpr std::wstring_view kRightClickToLoad = L"Right-click to Load";

// Last row of a disk listing: the capacity known from the image's length less the blocks the
// directory claims, or "?" when the length is no 1541 image size or the sum does not fit.
std::wstring BlocksFreeText(uint64_t fileLength, int64_t blocksUsed);

// Row to select (1-based) after a listing of rowCount rows for a remembered 0-based entry.
int RowToSelect(int32_t gameIndex, int rowCount);

}  // namespace floppex
