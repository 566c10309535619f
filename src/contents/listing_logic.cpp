#include "contents/listing_logic.h"

#include <algorithm>
#include <numeric>

namespace floppex {

std::wstring BlocksFreeText(uint64_t fileLength, int64_t blocksUsed) {
    int64_t capacity = 0;
    if (fileLength == 174848 || fileLength == 175531) capacity = 683;      // 35 tracks, without/with error bytes
    else if (fileLength == 196608 || fileLength == 197376) capacity = 768; // 40 tracks
    const int64_t free = capacity - blocksUsed;
    if (capacity == 0 || free < 0 || free > capacity) return L"? Blocks Free";
    return std::to_wstring(free) + L" Blocks Free";
}

int RowToSelect(int32_t gameIndex, int rowCount) {
    const int64_t row = static_cast<int64_t>(gameIndex) + 1;
    return row < 1 || row > rowCount ? 1 : static_cast<int>(row);
}

int C64CellPixels(int listPixels) {
    constexpr int kDiskRowCells = 16 + 3 + 5, kColumns = 3;
    const int scale = (listPixels - kColumns * kC64CellMargin) / (kDiskRowCells * 8);
    return 8 * std::max(1, scale);
}

std::vector<int> FitColumns(const std::vector<int>& needs, int names, int listPixels) {
    std::vector<int> widths = needs;
    if (widths.empty()) return widths;
    const int total = std::accumulate(needs.begin(), needs.end(), 0);
    if (total <= listPixels) {
        widths.back() += listPixels - total;
        return widths;
    }
    const bool kept = names >= 0 && names < static_cast<int>(needs.size());
    const int keptNeed = kept ? needs[names] : 0;
    const int room = std::max(0, listPixels - keptNeed), shared = total - keptNeed;
    for (size_t i = 0; i < widths.size(); ++i)
        if (!kept || static_cast<int>(i) != names) widths[i] = shared ? static_cast<int>(int64_t{needs[i]} * room / shared) : 0;
    return widths;
}

}  // namespace floppex
