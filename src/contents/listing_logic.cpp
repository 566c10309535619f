#include "contents/listing_logic.h"

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

}  // namespace floppex
