// Loaded into a running Floppex.exe by a WH_CALLWNDPROC hook that start_bench.exe sets on its main
// window's thread. Appends to "listing-<pid>.log" next to this DLL one line per event, in UTF-8:
//   label<TAB>text     text set on the file-name label
//   info<TAB>text      text set on the info line
//   caption<TAB>text   caption set on the main window ("Extracting NAME" while an archive unpacks)
//   shown              the list view shown again: a listing is complete
// and creates "listing-<pid>.ready" once it is loaded, so the bench knows it sees every event.
#include <windows.h>

#include <string>

namespace {

constexpr int kLblFilename = 101;  // control ids of the main window (src/window/control_ids.h)
constexpr int kLblInfo = 102;
constexpr int kLvGame = 103;
constexpr wchar_t kMainWindowClass[] = L"ThunderRT6FormDC";

HMODULE self = nullptr;

std::wstring FilePath(const wchar_t* extension) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"listing-" + std::to_wstring(GetCurrentProcessId()) + extension;
}

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string utf8(static_cast<size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

void Append(const std::string& line) {
    const HANDLE file = CreateFileW(FilePath(L".log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool IsMainWindow(HWND hwnd) {
    wchar_t name[64] = L"";
    return hwnd && GetClassNameW(hwnd, name, 64) > 0 && lstrcmpW(name, kMainWindowClass) == 0;
}

void Note(const CWPSTRUCT& message) {
    if (message.message == WM_SETTEXT && message.lParam) {
        const auto* text = reinterpret_cast<const wchar_t*>(message.lParam);
        if (IsMainWindow(message.hwnd)) {
            Append("caption\t" + Utf8(text) + "\n");
        } else if (IsMainWindow(GetParent(message.hwnd))) {
            const int id = GetDlgCtrlID(message.hwnd);
            if (id == kLblFilename) Append("label\t" + Utf8(text) + "\n");
            if (id == kLblInfo) Append("info\t" + Utf8(text) + "\n");
        }
    } else if (message.message == WM_WINDOWPOSCHANGED &&
               (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW) &&
               GetDlgCtrlID(message.hwnd) == kLvGame && IsMainWindow(GetParent(message.hwnd))) {
        Append("shown\n");
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ListingHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) Note(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        const HANDLE file = CreateFileW(FilePath(L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return TRUE;
}
