#pragma once
// Starts documents in their associated program.
#include <windows.h>

#include <string_view>

namespace floppex {

class ProgramLauncher {
public:
    // Opens a file or link with the program the shell associates with it.
    void OpenDocument(std::wstring_view document, HWND owner) const;
};

}  // namespace floppex
