#pragma once
// The program's main window as the tests see it from outside.
#include <windows.h>

#include <string>

#include "driver/list_view_reader.h"

namespace floppex::e2e {

inline constexpr wchar_t kMainWindowClass[] = L"ThunderRT6FormDC";

class MainWindowView {
public:
    explicit MainWindowView(HWND window) : window_(window) {}

    HWND Handle() const { return window_; }
    std::wstring Caption() const;
    std::wstring FileLabel() const;
    std::wstring InfoLabel() const;
    bool PlayEnabled() const;
    HWND List() const;
    HWND PlayButton() const;
    ListViewReader Rows() const { return ListViewReader(List()); }
    // Waits until the file label reads `text` and the window has finished the step that set it
    // (a message sent afterwards is answered only when the program waits for messages again).
    bool WaitForFileLabel(const std::wstring& text) const;
    bool Sync() const;

private:
    HWND window_;
};

// Waits for the visible main window of process `pid`; null when none appeared.
HWND WaitForMainWindow(DWORD pid);

}  // namespace floppex::e2e
