// Loaded into the program by a WH_CALLWNDPROC hook. When a popup menu is about to open, writes its
// entries to "menu-<pid>.txt" next to this DLL, one line per entry: flags (c checked, g grayed, or
// -), a tab, the entry's text in UTF-8. When the menu loop has ended, creates "menu-<pid>.closed".
#include <windows.h>

#include <string>

#include "utf8.h"

namespace {

HMODULE self = nullptr;

std::wstring DumpPath(const wchar_t* extension) {
    wchar_t path[MAX_PATH] = L"";
    std::wstring folder(path, GetModuleFileNameW(self, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"menu-" + std::to_wstring(GetCurrentProcessId()) + extension;
}

// Written under another name first and renamed, so the reader never sees half a file.
void WriteFileNamed(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW((path + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW((path + L".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void DumpMenu(HMENU menu) {
    std::string dump;
    for (int position = 0, count = GetMenuItemCount(menu); position < count; ++position) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, position, TRUE, &info)) continue;
        dump += (info.fState & MFS_CHECKED) ? "c" : "-";
        dump += (info.fState & MFS_GRAYED) ? "g\t" : "-\t";
        dump += floppex::e2e::Narrow(text) + "\n";
    }
    if (!dump.empty()) WriteFileNamed(DumpPath(L".txt"), dump);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) DumpMenu(reinterpret_cast<HMENU>(message->wParam));
    if (code == HC_ACTION && message->message == WM_EXITMENULOOP) WriteFileNamed(DumpPath(L".closed"), "");
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
