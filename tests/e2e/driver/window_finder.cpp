#include "driver/window_finder.h"

#include "driver/waiting.h"

namespace floppex::e2e {

namespace {

struct Search {
    DWORD pid;
    const std::wstring* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search.pid && (search.className->empty() || ClassNameOf(window) == *search.className))
        search.found.push_back(window);
    return TRUE;
}

HWND FirstVisible(DWORD pid, const std::wstring& className) {
    for (HWND window : TopLevelWindows(pid, className))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className) {
    Search search{pid, &className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForVisibleWindow(DWORD pid, const std::wstring& className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FirstVisible(pid, className)) != nullptr; });
    return found;
}

bool HasVisibleWindow(DWORD pid, const std::wstring& className) { return FirstVisible(pid, className) != nullptr; }

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = L"";
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

HWND ChildById(HWND parent, int id) { return GetDlgItem(parent, id); }

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

SIZE ClientSizeOf(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

RECT ChildRectOf(HWND parent, HWND child) {
    RECT rect = WindowRectOf(child);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace floppex::e2e
