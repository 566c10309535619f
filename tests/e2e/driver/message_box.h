#pragma once
// Message boxes of another process: what they say, and their OK button.
#include <windows.h>

#include <optional>
#include <string>

namespace floppex::e2e {

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;

    // Presses OK and waits until the box has gone.
    bool PressOk() const;
};

// Waits for a visible message box of process `pid`.
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid);
bool HasMessageBox(DWORD pid);

}  // namespace floppex::e2e
