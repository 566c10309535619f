#pragma once
// Small file and window services shared by the main window's operations.
#include <windows.h>

#include <string>
#include <string_view>

namespace floppex {

class WindowHelper {
public:
    // folder keeps its trailing separator ("C:\games\"); name keeps its extension. A path without
    // any "\", "/" or ":" is all name.
    void SplitPath(std::wstring_view path, std::wstring& folder, std::wstring& name) const;
    std::wstring GetFileName(std::wstring_view path) const;

    void SetTopmost(bool topmost, HWND window) const;

    // drive: the first two characters of a path, e.g. "D:".
    bool IsCdDrive(std::wstring_view drive) const;

    // True when path names an existing file (not a folder). With report, a missing file is told
    // to the user in a message box under title.
    bool CheckFile(std::wstring_view path, bool report, std::wstring_view title) const;
};

}  // namespace floppex
