#pragma once
// Drives Floppex.exe from another process as a person would: starts it in a folder of its own, finds its windows, reads
// what they show, presses buttons and keys, and reads and seeds its registry values.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "window/control_ids.h"

namespace floppex::e2e {

inline constexpr unsigned kPatienceMs = 60000;  // only keeps a broken program from hanging the run
inline constexpr wchar_t kMainWindowClass[] = L"ThunderRT6FormDC", kPopupClass[] = L"#32768";
inline constexpr wchar_t kNoGameLoaded[] = L"No Game Loaded", kRightClickToLoad[] = L"Right-click to Load";
inline constexpr wchar_t kWindowKey[] = L"Software\\Brindale\\Floppex\\Window";
inline constexpr wchar_t kIntegersKey[] = L"Software\\Brindale\\Floppex\\Integers";
inline constexpr wchar_t kPathsKey[] = L"Software\\Brindale\\Paths";

inline bool WaitUntil(const std::function<bool()>& condition) {
    for (const ULONGLONG end = GetTickCount64() + kPatienceMs; !condition(); Sleep(20))
        if (GetTickCount64() >= end) return false;
    return true;
}

// A Unix path of the build as Wine sees it (drive Z:).
inline std::wstring WindowsPath(const std::string& path) {
    std::wstring result = L"Z:";
    for (const char c : path) result += c == '/' ? L'\\' : wchar_t(c);
    return result;
}

inline std::wstring Fixture(const std::wstring& name) { return WindowsPath(FLOPPEX_E2E_FIXTURES) + L"\\" + name; }
inline std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    return static_cast<bool>(std::ofstream(path.c_str(), std::ios::binary) << bytes);
}

// A picture for a person to look at, as NAME.bmp beside e2e_tests.exe.
inline bool SaveBmp(const std::wstring& name, const BITMAPINFOHEADER& header, const void* pixels, size_t size) {
    const BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + sizeof header + size), 0, 0, sizeof file + sizeof header};
    const auto bytes = [](const void* at, size_t length) { return std::string(static_cast<const char*>(at), length); };
    return WriteWholeFile(FolderOf(WindowsPath(FLOPPEX_E2E_WORK)) + L"\\" + name + L".bmp",
                          bytes(&file, sizeof file) + bytes(&header, sizeof header) + bytes(pixels, size));
}

// The helpers (fake_emulator.cpp, menu_hook.cpp) write UTF-16 lines.
inline std::wistringstream WideLines(const std::wstring& path) {
    const std::string bytes = ReadWholeFile(path);
    return std::wistringstream(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
}

// HKLM\Software\Brindale and the shell's file types.
inline void ResetRegistry() {
    for (const std::wstring type : {L"D64", L"P00", L"PRG", L"T64", L"TAP", L"D71", L"D81", L"G64", L"X64", L"CRT"})
    for (const std::wstring key : {L"." + type, L"Floppex" + type}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str()), RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str());  // a user's own types
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brindale");
    const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Brindale");
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << "registry status " << status;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Brindale");
}

// What a first start finds, made anew by each construction: a folder named after the running test (inside
// `parent` when given) holding only a copy of Floppex.exe, and a registry without the program's keys.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::wstring& parent = L"") {
        ResetRegistry();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path folder = std::filesystem::path(WindowsPath(FLOPPEX_E2E_WORK)) / parent /
                                             (std::string(test->test_suite_name()) + "." + test->name());
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        std::filesystem::create_directories(folder, error);
        path_ = folder.wstring();
        EXPECT_TRUE(CopyFileW(WindowsPath(FLOPPEX_E2E_EXE).c_str(), Exe().c_str(), FALSE));
    }
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring Exe() const { return File(L"Floppex.exe"); }
    std::wstring AddFixture(const std::wstring& fixture, const std::wstring& name) const {
        EXPECT_TRUE(CopyFileW(Fixture(fixture).c_str(), File(name).c_str(), FALSE)) << fixture;
        return File(name);
    }
    // Floppex.ini holds `line`; the program makes a new one in UTF-16, a test's seed is in bytes.
    bool IniHas(const std::string& line) const {
        const std::string bytes = ReadWholeFile(File(L"Floppex.ini"));
        if (bytes.rfind("\xFF\xFE", 0) != 0) return bytes.find(line) != std::string::npos;
        return WideLines(File(L"Floppex.ini")).str().find(std::wstring(line.begin(), line.end())) != std::wstring::npos;
    }
    // Floppex.ini holds `line`, or there is no Floppex.ini when `line` is null.
    bool IniIs(const char* line) const { return line ? IniHas(line) : !Exists(File(L"Floppex.ini")); }

private:
    std::wstring path_;
};

inline HWND FirstVisible(DWORD pid, const std::wstring& className, const wchar_t* caption = nullptr) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className.c_str(), caption));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

inline HWND WaitForVisibleWindow(DWORD pid, const std::wstring& className, const wchar_t* caption = nullptr) {
    HWND found = nullptr;
    return WaitUntil([&] { return (found = FirstVisible(pid, className, caption)) != nullptr; }) ? found : nullptr;
}

inline std::wstring TextOf(HWND window) {
    std::wstring text(32768, L'\0');  // the longest command line a text may quote
    DWORD_PTR copied = 0;
    const bool answered = SendMessageTimeoutW(window, WM_GETTEXT, text.size(), LPARAM(text.data()), SMTO_ABORTIFHUNG, kPatienceMs, &copied);
    return answered ? text.substr(0, copied) : L"<no answer>";
}

inline RECT WindowRectOf(HWND window) { RECT rect{}; return GetWindowRect(window, &rect), rect; }

// Sends `message` to a window of another process with a copy of `request` made in that process and
// room for 512 characters behind it, at which `aim`, when given, points the copy's text field; gives
// back the copy and the room's text as the window left them.
template <typename T>
std::pair<T, std::wstring> SendRemote(HWND window, UINT message, WPARAM wParam, T request,
                                      const std::function<void(T&, wchar_t*, int)>& aim = nullptr) {
    constexpr int kChars = 512;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    const auto remote = static_cast<char*>(
        process ? VirtualAllocEx(process, nullptr, sizeof(T) + sizeof(wchar_t[kChars]), MEM_COMMIT, PAGE_READWRITE) : nullptr);
    wchar_t buffer[kChars] = L"";  // the allocation starts zeroed
    if (aim) aim(request, reinterpret_cast<wchar_t*>(remote + sizeof(T)), kChars - 1);
    if (remote && WriteProcessMemory(process, remote, &request, sizeof request, nullptr)) {
        SendMessageW(window, message, wParam, LPARAM(remote));
        ReadProcessMemory(process, remote, &request, sizeof request, nullptr);
        ReadProcessMemory(process, remote + sizeof(T), buffer, sizeof(wchar_t[kChars - 1]), nullptr);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
    return {request, buffer};
}

template <typename T>
std::wstring SendWithText(HWND list, UINT message, WPARAM wParam, T request, LPWSTR T::*text, int T::*size) {
    return SendRemote<T>(list, message, wParam, request, [&](T& r, wchar_t* room, int n) { r.*text = room, r.*size = n; }).second;
}

// One started copy of the program (`"exe" tail` in the exe's folder; unquoted, as the shell starts a registered
// command, when `quoted` is false); ended when dropped with every process it started, each in a job from its start.
class AppProcess {
public:
    AppProcess(const std::wstring& exe, const std::wstring& tail, bool quoted = true) {
        std::wstring commandLine = (quoted ? L"\"" + exe + L"\"" : exe) + (tail.empty() ? L"" : L" " + tail);
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION info{};
        GetDesktopWindow();  // Wine starts the desktop's process with the first window: here, out of the job
        const auto create = [&] {
            return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                  FolderOf(exe).c_str(), &startup, &info);
        };
        // Under load Wine now and then loses a new process in its own loader, before any of the
        // program's code runs, and says ERROR_INTERNAL_ERROR: that start, and that alone, is made again.
        bool created = create();
        if (!created && GetLastError() == ERROR_INTERNAL_ERROR) {
            std::fprintf(stderr, "note: Wine lost a new process before it ran (ERROR_INTERNAL_ERROR); starting it again\n");
            created = create();
        }
        const char* failed = !created                                                         ? "CreateProcess"
                             : !AssignProcessToJobObject(job_, info.hProcess)                 ? "AssignProcessToJobObject"
                             : ResumeThread(info.hThread) != 1                                ? "ResumeThread"
                                                                                              : nullptr;
        if (failed) ADD_FAILURE() << "cannot start " << exe << ": " << failed << " failed, error " << GetLastError();
        thread_ = info.hThread, process_ = info.hProcess, pid_ = info.dwProcessId;
    }
    AppProcess(const AppProcess&) = delete;
    ~AppProcess() {
        TerminateJobObject(job_, 9), WaitForExit();
        CloseHandle(thread_), CloseHandle(process_), CloseHandle(job_);
    }
    DWORD Pid() const { return pid_; }
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool Hold(bool held) const { return (held ? SuspendThread(thread_) : ResumeThread(thread_)) != DWORD(-1); }  // its first thread
    // Once the program and every process it started (a stand-in emulator's record is then whole) have ended.
    std::optional<DWORD> WaitForExit() const {
        DWORD code = 0;
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job{};
        const auto allEnded = [&] {
            return QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &job, sizeof job, nullptr) && !job.ActiveProcesses;
        };
        const bool ended = !WaitForSingleObject(process_, kPatienceMs) && GetExitCodeProcess(process_, &code) && WaitUntil(allEnded);
        return ended ? std::optional(code) : std::nullopt;
    }
    std::optional<DWORD> Close() const { return PostMessageW(FirstVisible(pid_, kMainWindowClass), WM_CLOSE, 0, 0), WaitForExit(); }

private:
    HANDLE job_ = CreateJobObjectW(nullptr, nullptr), thread_ = nullptr, process_ = nullptr;
    DWORD pid_ = 0;
};

class MainWindow {
public:
    explicit MainWindow(HWND window) : window_(window) {}
    HWND Handle() const { return window_; }
    HWND Child(int id) const { return GetDlgItem(window_, id); }
    std::wstring FileLabel() const { return TextOf(Child(ids::kLblFilename)); }
    std::wstring InfoLabel() const { return TextOf(Child(ids::kLblInfo)); }
    bool PlayEnabled() const { return IsWindowEnabled(Child(ids::kCmdPlay)) != 0; }
    // Answers once the program has finished its current step and waits for messages again.
    bool Sync() const {
        DWORD_PTR result = 0;
        return window_ && SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0;
    }
    bool WaitForFileLabel(const std::wstring& text) const {
        return window_ && WaitUntil([&] { return FileLabel() == text; }) && Sync();
    }
    int RowCount() const { return int(SendMessageW(Child(ids::kLvGame), LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::wstring> Headers() const {
        std::vector<std::wstring> headers;
        const HWND header = HWND(SendMessageW(Child(ids::kLvGame), LVM_GETHEADER, 0, 0));
        for (int column = 0; column < SendMessageW(header, HDM_GETITEMCOUNT, 0, 0); ++column)
            headers.push_back(SendWithText(Child(ids::kLvGame), LVM_GETCOLUMNW, column, LVCOLUMNW{LVCF_TEXT},
                                           &LVCOLUMNW::pszText, &LVCOLUMNW::cchTextMax));
        return headers;
    }
    std::vector<std::vector<std::wstring>> Rows() const {
        std::vector<std::vector<std::wstring>> rows(RowCount());
        for (int row = 0, columns = int(Headers().size()); row < int(rows.size()); ++row)
            for (LVITEMW item{}; item.iSubItem < columns; ++item.iSubItem)
                rows[row].push_back(SendWithText(Child(ids::kLvGame), LVM_GETITEMTEXTW, row, item, &LVITEMW::pszText,
                                                 &LVITEMW::cchTextMax));
        return rows;
    }
    int SelectedRow() const { return int(SendMessageW(Child(ids::kLvGame), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
    // As a click on the row does.
    bool Select(int row) const {
        LVITEMW state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendWithText(Child(ids::kLvGame), LVM_SETITEMSTATE, row, state, &LVITEMW::pszText, &LVITEMW::cchTextMax);
        return Sync() && SelectedRow() == row;
    }
    bool PlayRow(int row) const {
        return window_ && PlayEnabled() && Select(row) && PostMessageW(Child(ids::kCmdPlay), BM_CLICK, 0, 0);
    }

private:
    HWND window_;
};

// The main window of `app` once its file label reads `label`; a null window when it never did.
inline MainWindow WaitForListing(const AppProcess& app, const std::wstring& label) {
    const MainWindow window(WaitForVisibleWindow(app.Pid(), kMainWindowClass));
    return MainWindow(window.WaitForFileLabel(label) ? window.Handle() : nullptr);
}

inline bool WaitUntilGone(HWND window) { return WaitUntil([&] { return !IsWindowVisible(window); }); }
inline void Press(HWND dialog, int button) { PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring caption, text;
    bool hasIcon = false;
    bool PressOk() const { return Press(window, IDOK), WaitUntilGone(window); }  // and waits until the box has gone
};

inline std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, const wchar_t* caption = nullptr) {
    MessageBoxView box{WaitForVisibleWindow(pid, L"#32770", caption)};
    if (!box.window) return std::nullopt;
    box.caption = TextOf(box.window);
    box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
    const HWND icon = GetDlgItem(box.window, 0x440);
    box.hasIcon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0);
    return box;
}

inline std::wstring AnswerMessageBox(DWORD pid, const wchar_t* caption = nullptr) {  // its text, once OK closed it
    const auto box = WaitForMessageBox(pid, caption);
    return box && box->PressOk() ? box->text : L"<no message closed>";
}

inline void PostKey(HWND window, WORD virtualKey) {
    const LPARAM scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) << 16;
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | scan | (3u << 30));
}

// Through the system input queue: posted messages would not change the state of Ctrl.
inline bool TypeCtrlKey(HWND window, WORD virtualKey) {
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; })) return false;
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_CONTROL, virtualKey, virtualKey, VK_CONTROL};
    for (int i = 0; i < 4; ++i) inputs[i] = {INPUT_KEYBOARD, {.ki = {keys[i], 0, DWORD(i < 2 ? 0 : KEYEVENTF_KEYUP)}}};
    return SendInput(4, inputs, sizeof(INPUT)) == 4;
}

struct MenuEntry {
    std::wstring text;
    bool checked = false, enabled = false;
};

// Runs `open` with the hook of menu_hook.cpp set on the window's thread; the entries of the popup
// menu that opened, read from the hook's file; the menu is closed again when `close`.
inline std::optional<std::vector<MenuEntry>> RecordMenu(HWND window, const std::function<void()>& open, bool close) {
    const std::wstring dll = WindowsPath(FLOPPEX_E2E_MENU_HOOK);
    HMODULE module = LoadLibraryW(dll.c_str());
    const auto hookProc = module ? HOOKPROC(GetProcAddress(module, "MenuHookProc")) : nullptr;
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    const std::wstring dump = FolderOf(dll) + L"\\menu-" + std::to_wstring(pid);
    DeleteFileW((dump + L".txt").c_str()), DeleteFileW((dump + L".closed").c_str());
    std::optional<std::vector<MenuEntry>> entries;
    if (HHOOK hook = hookProc ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, module, thread) : nullptr) {
        open();
        if (WaitUntil([&] { return Exists(dump + L".txt"); })) {
            std::wistringstream lines = WideLines(dump + L".txt");
            entries.emplace();
            for (std::wstring line; std::getline(lines, line);)
                if (line.size() >= 3) entries->push_back({line.substr(3, line.find(L'\t', 3) - 3), line[0] == 'c', line[1] != 'g'});
        }
        // The program's menu loop would swallow keys sent to the window: close it and wait for its end.
        if (const HWND popup = entries && close ? WaitForVisibleWindow(pid, kPopupClass) : nullptr) {
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitUntil([&] { return Exists(dump + L".closed"); });
        }
        UnhookWindowsHookEx(hook);
    }
    if (module) FreeLibrary(module);
    return entries;
}

// The window's own menu, as a right click on it opens it.
inline std::optional<std::vector<MenuEntry>> ReadContextMenu(HWND window) {
    const RECT rect = WindowRectOf(window);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return RecordMenu(window, [&] { PostMessageW(window, WM_CONTEXTMENU, WPARAM(window), at); }, true);
}

inline MenuEntry FindEntry(const std::vector<MenuEntry>& entries, const std::wstring& text) {
    for (const MenuEntry& entry : entries) if (entry.text == text) return entry;
    ADD_FAILURE() << "no menu entry " << text;
    return {};
}

struct RegistryValue {
    DWORD type = REG_NONE, number = 0;  // a REG_DWORD's value
    std::wstring text;                  // a REG_SZ's value
};

inline std::optional<RegistryValue> ReadValue(const std::wstring& key, const std::wstring& name, HKEY root = HKEY_LOCAL_MACHINE) {
    RegistryValue value;
    std::vector<BYTE> bytes(65536);
    DWORD size = DWORD(bytes.size());
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.type, bytes.data(), &size))
        return std::nullopt;
    if (value.type == REG_DWORD) memcpy(&value.number, bytes.data(), sizeof value.number);
    if (value.type == REG_SZ) value.text = reinterpret_cast<const wchar_t*>(bytes.data());
    return value;
}

inline std::optional<DWORD> ReadDword(const std::wstring& key, const std::wstring& name) {
    const auto value = ReadValue(key, name);
    return value && value->type == REG_DWORD ? std::optional(value->number) : std::nullopt;
}

inline void WriteDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), REG_DWORD, &value, sizeof value), 0);
}
inline void WriteString(const std::wstring& key, const wchar_t* name, const std::wstring& value, HKEY root = HKEY_LOCAL_MACHINE) {
    const DWORD size = DWORD((value.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), size), 0);
}
inline void SetCertificateType(HKEY root, const std::wstring& type) { WriteString(L"Software\\Classes\\.crt", nullptr, type, root); }

// A copy of fake_emulator.exe in a folder of its own, set as the program of emulator `emu`.
inline std::wstring InstallEmulator(const ProgramFolder& folder, int emu, const std::wstring& exeName = L"emulator.exe") {
    static const wchar_t* pathValues[] = {
        L"CCS64v109Path",    L"CCS64v20DosPath", L"CCS64v20WinPath", L"VICEv0161Path",      L"WinVICEv0161Path",
        L"C64Sv252Path",     L"Win64PROPath",    L"PC64Dosv122Path", L"PC64Winv214Path",    L"ComeBack64v099Path",
        L"FrodoWin32v411Path"};
    const std::wstring dir = folder.File(L"emu" + std::to_wstring(emu)), exe = dir + L"\\" + exeName;
    CreateDirectoryW(dir.c_str(), nullptr);
    EXPECT_TRUE(CopyFileW(WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR).c_str(), exe.c_str(), FALSE));
    WriteString(kPathsKey, pathValues[emu], exe);
    return exe;
}

struct Launch {  // a start of the fake emulator
    std::wstring folder;             // its working folder
    std::vector<std::wstring> argv;  // as Windows splits its command line
};

// A line still being written has no end yet and is left out.
inline std::vector<Launch> LaunchesOf(const std::wstring& emulator) {
    std::vector<Launch> launches;
    std::wistringstream lines = WideLines(FolderOf(emulator) + L"\\fake-emulator.txt");
    for (std::wstring line; std::getline(lines, line) && !lines.eof();) {
        std::wistringstream fields(line);
        Launch& launch = launches.emplace_back();
        std::getline(fields, launch.folder, L'\t');
        for (std::wstring argument; std::getline(fields, argument, L'\t');) launch.argv.push_back(argument);
    }
    return launches;
}

}  // namespace floppex::e2e
