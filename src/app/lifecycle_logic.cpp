#include "app/lifecycle_logic.h"

#include "c64/file_type.h"
#include "contents/listing_logic.h"

namespace floppex {

size_t HandoffUnits(uint64_t byteCount, bool hasData) {
    constexpr uint64_t kTooLong = uint64_t{1} << 31;
    return hasData && byteCount < kTooLong ? static_cast<size_t>(byteCount / 2) : 0;
}

bool RemembersEntryOnClose(bool visible, std::wstring_view fileNameLabel, std::wstring_view requestPath) {
    return visible && fileNameLabel != kNoGameLoaded && !requestPath.empty() && !IsSingleProgram(FileTypeOf(requestPath));
}

}  // namespace floppex
