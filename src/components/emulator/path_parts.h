#pragma once
// Splitting a Windows path into its folder and file name, the same on every platform (the
// emulators start in their own folder; the window helper splits paths with it).
#include <string_view>

namespace floppex {

struct PathParts {
    std::wstring_view folder;  // up to and including the last "\", "/" or ":"; empty when none
    std::wstring_view name;    // the rest, extension kept
};

inline PathParts SplitPathParts(std::wstring_view path) {
    const size_t cut = path.find_last_of(L"\\/:");
    const size_t nameStart = cut == std::wstring_view::npos ? 0 : cut + 1;
    return {path.substr(0, nameStart), path.substr(nameStart)};
}

}  // namespace floppex
