// Loaded into the program by a WH_CALLWNDPROC hook. When a popup menu is about to open, writes its entries to
// "menu-<pid>.txt" beside this DLL in UTF-16, a line per entry: c (checked) or -, g (grayed) or -, a tab, the entry's
// text (and its key after another tab). When the menu loop has ended, writes "menu-<pid>.closed". Each file is written
// under another name first and renamed, so a reader never sees half of it.
#include <windows.h>

#include <string>

static HMODULE self = nullptr;

static void WriteDump(const wchar_t* extension, const std::wstring& text) {
    wchar_t dll[MAX_PATH] = L"";
    std::wstring path(dll, GetModuleFileNameW(self, dll, MAX_PATH));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"menu-" + std::to_wstring(GetCurrentProcessId()) + extension;
    HANDLE file = CreateFileW((path + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    MoveFileExW((path + L".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_EXITMENULOOP) WriteDump(L".closed", L"");
    if (code != HC_ACTION || message->message != WM_INITMENUPOPUP) return CallNextHookEx(nullptr, code, wParam, lParam);
    const HMENU menu = reinterpret_cast<HMENU>(message->wParam);
    std::wstring dump;
    for (int position = 0, count = GetMenuItemCount(menu); position < count; ++position) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info{sizeof info, MIIM_STATE | MIIM_STRING};
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, position, TRUE, &info)) continue;
        dump += std::wstring(info.fState & MFS_CHECKED ? L"c" : L"-") + (info.fState & MFS_GRAYED ? L"g\t" : L"-\t") + text + L"\n";
    }
    if (!dump.empty()) WriteDump(L".txt", dump);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
