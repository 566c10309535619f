#include "app/lifecycle_logic.h"

#include "c64/file_type.h"

namespace floppex {

namespace {

// A command line holds at most 32767 characters; twice that is a generous ceiling.
constexpr uint64_t kMaxUnits = 64 * 1024;

}  // namespace

size_t HandoffUnits(uint64_t byteCount, bool hasData) {
    const uint64_t units = byteCount / 2;
    return hasData && units <= kMaxUnits ? static_cast<size_t>(units) : 0;
}

bool RemembersEntryOnClose(bool visible, std::wstring_view fileNameLabel, std::wstring_view requestPath) {
    return visible && fileNameLabel != kNoGameLoaded && !requestPath.empty() && !IsSingleProgram(FileTypeOf(requestPath));
}

}  // namespace floppex
