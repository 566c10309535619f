#include "driver/menu_probe.h"

#include <cstdio>
#include <sstream>

#include "driver/paths.h"
#include "driver/waiting.h"
#include "driver/window_finder.h"

namespace floppex::e2e {

namespace {

constexpr wchar_t kPopupClass[] = L"#32768";

std::wstring DumpPath(const std::wstring& dll, DWORD pid, const wchar_t* extension) {
    return dll.substr(0, dll.find_last_of(L'\\')) + L"\\menu-" + std::to_wstring(pid) + extension;
}

// One line per entry: id, flags (c checked, g grayed, s separator), a tab, the text.
std::vector<MenuEntry> ParseDump(const std::string& dump) {
    std::vector<MenuEntry> entries;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::istringstream head(line.substr(0, tab));
        MenuEntry entry;
        std::string flags;
        head >> entry.id >> flags;
        entry.checked = flags.find('c') != std::string::npos;
        entry.enabled = flags.find('g') == std::string::npos;
        entry.separator = flags.find('s') != std::string::npos;
        std::wstring text = Widen(line.substr(tab + 1));
        entry.text = text.substr(0, text.find(L'\t'));
        entries.push_back(entry);
    }
    return entries;
}

// Closes the open menu and waits until the program has left its menu loop, which would
// otherwise swallow keys sent to the window afterwards.
void CloseMenus(DWORD pid, const std::wstring& closedMark) {
    // The entries are written before the menu window shows.
    WaitUntil([&] { return HasVisibleWindow(pid, kPopupClass) || FileExists(closedMark); }, 5000);
    for (HWND popup : TopLevelWindows(pid, kPopupClass))
        if (IsWindowVisible(popup)) PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitUntil([&] { return FileExists(closedMark); });
    DeleteFileW(closedMark.c_str());
}

}  // namespace

std::optional<std::vector<MenuEntry>> RecordMenu(HWND window, const std::function<void()>& open, bool close,
                                                 unsigned timeoutMs) {
    const std::wstring dll = MenuHookDll();
    HMODULE module = LoadLibraryW(dll.c_str());
    const auto hookProc = module ? reinterpret_cast<HOOKPROC>(GetProcAddress(module, "MenuHookProc")) : nullptr;
    if (!hookProc) return std::nullopt;
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    const std::wstring dump = DumpPath(dll, pid, L".txt");
    const std::wstring closedMark = DumpPath(dll, pid, L".closed");
    DeleteFileW(dump.c_str());
    DeleteFileW(closedMark.c_str());
    std::optional<std::vector<MenuEntry>> entries;
    if (HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hookProc, module, thread)) {
        open();
        if (WaitUntil([&] { return FileExists(dump); }, timeoutMs)) entries = ParseDump(ReadWholeFile(dump));
        if (entries && entries->empty()) {
            std::fprintf(stderr, "menu probe: empty menu\n");
            entries.reset();
        } else if (!entries)
            std::fprintf(stderr, "menu probe: %s\n",
                         HasVisibleWindow(pid, kPopupClass) ? "menu open, hook silent" : "no menu opened");
        DeleteFileW(dump.c_str());
        if (close) CloseMenus(pid, closedMark);
        UnhookWindowsHookEx(hook);
    }
    FreeLibrary(module);
    return entries;
}

std::optional<std::vector<MenuEntry>> ReadContextMenu(HWND mainWindow) {
    const auto openMenu = [&] {
        const RECT rect = WindowRectOf(mainWindow);
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PostMessageW(mainWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(mainWindow), at);
    };
    std::optional<std::vector<MenuEntry>> entries;
    for (int attempt = 0; attempt < 3 && !entries; ++attempt) entries = RecordMenu(mainWindow, openMenu, true, 5000);
    return entries;
}

std::optional<MenuEntry> FindEntry(const std::vector<MenuEntry>& entries, const std::wstring& text) {
    for (const MenuEntry& entry : entries)
        if (entry.text == text) return entry;
    return std::nullopt;
}

}  // namespace floppex::e2e
