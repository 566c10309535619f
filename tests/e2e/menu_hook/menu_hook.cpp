// Loaded into the program by a WH_CALLWNDPROC hook: when a popup menu is about to open, writes
// its entries to "menu-<pid>.txt" next to this DLL, one line per entry:
// id, flags (c checked, g grayed, s separator), a tab, the entry's text in UTF-8.
// When the menu loop has ended, creates "menu-<pid>.closed" there.
#include <windows.h>

#include <string>

#include "../driver/utf8.h"

namespace {

HMODULE self = nullptr;

std::string DescribeEntry(HMENU menu, int position) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return "0 ?\t\n";
    std::string flags;
    if (info.fState & MFS_CHECKED) flags += 'c';
    if (info.fState & MFS_GRAYED) flags += 'g';
    if (info.fType & MFT_SEPARATOR) flags += 's';
    if (flags.empty()) flags = "-";
    return std::to_string(info.wID) + " " + flags + "\t" + floppex::e2e::Narrow(text) + "\n";
}

std::wstring DumpPath(const wchar_t* extension) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"menu-" + std::to_wstring(GetCurrentProcessId()) + extension;
}

void NoteMenuClosed() {
    HANDLE file = CreateFileW(DumpPath(L".closed").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void DumpMenu(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    if (count <= 0) return;  // not a menu of this process, or nothing to show
    std::string dump;
    for (int position = 0; position < count && position < 256; ++position) dump += DescribeEntry(menu, position);
    const std::wstring path = DumpPath(L".txt");
    const std::wstring partial = path + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, dump.data(), static_cast<DWORD>(dump.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == WM_INITMENUPOPUP) DumpMenu(reinterpret_cast<HMENU>(message->wParam));
        if (message->message == WM_EXITMENULOOP) NoteMenuClosed();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
