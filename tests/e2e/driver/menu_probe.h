#pragma once
// The entries of the main window's popup menu with their check marks and enabled states, read
// from inside the program by a window hook when the menu opens.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace floppex::e2e {

struct MenuEntry {
    unsigned id = 0;
    std::wstring text;  // without the shortcut part after a tab
    bool separator = false;
    bool checked = false;
    bool enabled = true;
};

// Runs `open` with the menu hook set on the window's thread; the entries of the popup menu it
// opened, as recorded inside the program. `close` closes the menu again and waits for the end of
// the program's menu loop; otherwise the menu stays open. Nothing when no menu opened in time.
std::optional<std::vector<MenuEntry>> RecordMenu(HWND window, const std::function<void()>& open, bool close,
                                                 unsigned timeoutMs);

// Opens the window's context menu (as a right click on its surface does), records the entries,
// closes the menu again. Nothing when the menu did not open.
std::optional<std::vector<MenuEntry>> ReadContextMenu(HWND mainWindow);

// The entry whose text is `text`, or nothing.
std::optional<MenuEntry> FindEntry(const std::vector<MenuEntry>& entries, const std::wstring& text);

}  // namespace floppex::e2e
