#include "driver.h"

#include <commctrl.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace floppex::e2e {

namespace {

// A Unix path of the build as Wine sees it (drive Z:).
std::wstring WindowsPath(const std::string& path) {
    std::wstring result = L"Z:" + Widen(path);
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    return result;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

HWND FirstVisible(DWORD pid, const std::wstring& className) {
    for (HWND window : TopLevelWindows(pid, className))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// A block of memory in the process that owns `window`, for messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return address_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return address_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// Sends `message` with a structure T whose text field points at a buffer right behind it; the text.
template <typename T>
std::wstring TextThroughRemote(HWND list, UINT message, WPARAM wParam, T request, LPWSTR T::*text, int T::*size) {
    constexpr int kChars = 512;
    const RemoteBuffer remote(list, sizeof(T) + kChars * sizeof(wchar_t));
    request.*text = reinterpret_cast<LPWSTR>(remote.At(sizeof(T)));
    request.*size = kChars;
    wchar_t buffer[kChars] = L"";
    if (!remote.Write(sizeof(T), buffer, sizeof buffer) || !remote.Write(0, &request, sizeof request))
        return L"<no remote memory>";
    SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(sizeof(T), buffer, sizeof buffer);
    buffer[kChars - 1] = L'\0';
    return buffer;
}

std::optional<std::vector<BYTE>> ReadValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& type) {
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size)) return {};
    std::vector<BYTE> bytes(size);
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, bytes.data(), &size)) return {};
    bytes.resize(size);
    return bytes;
}

void WriteValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), type, data, size), ERROR_SUCCESS);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}

std::wstring Fixture(const std::wstring& name) { return WindowsPath(FLOPPEX_E2E_FIXTURES) + L"\\" + name; }
std::wstring FakeEmulatorExe() { return WindowsPath(FLOPPEX_E2E_FAKE_EMULATOR); }

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << bytes);
}

ProgramFolder::ProgramFolder(const std::wstring& parent) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = WindowsPath(FLOPPEX_E2E_WORK);
    if (!parent.empty()) folder /= parent;
    folder /= Widen(std::string(test->test_suite_name()) + "." + test->name());
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    path_ = folder.wstring();
    if (!CopyFileW(WindowsPath(FLOPPEX_E2E_EXE).c_str(), Exe().c_str(), FALSE)) ADD_FAILURE() << "cannot copy Floppex.exe";
}

std::wstring ProgramFolder::AddFixture(const std::wstring& fixture, const std::wstring& name) const {
    if (!CopyFileW(Fixture(fixture).c_str(), File(name).c_str(), FALSE)) ADD_FAILURE() << "no fixture " << Narrow(fixture);
    return File(name);
}

std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className) {
    std::vector<HWND> all, found;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        wchar_t name[256] = L"";
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && GetClassNameW(window, name, 256) && name == className) found.push_back(window);
    }
    return found;
}

HWND WaitForVisibleWindow(DWORD pid, const std::wstring& className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FirstVisible(pid, className)) != nullptr; });
    return found;
}

bool HasVisibleWindow(DWORD pid, const std::wstring& className) { return FirstVisible(pid, className) != nullptr; }

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kPatienceMs, &copied);
    text.resize(copied);
    return text;
}

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

int TwipsToPixels(double twips, bool vertical) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(std::nearbyint(twips / std::nearbyint(1440.0 / dpi)));
}

AppProcess::AppProcess(const std::wstring& exe, const std::wstring& tail) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (tail.empty() ? L"" : L" " + tail);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, FolderOf(exe).c_str(),
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
    } else {
        ADD_FAILURE() << "cannot start " << Narrow(exe);
    }
}

AppProcess::~AppProcess() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 9);
        WaitForSingleObject(process_, kPatienceMs);
    }
    CloseHandle(process_);
}

bool AppProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> AppProcess::WaitForExit(unsigned timeoutMs) {
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::optional<DWORD> AppProcess::Close() {
    for (HWND window : TopLevelWindows(pid_, kMainWindowClass)) PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit();
}

bool MainWindow::Sync() const {
    DWORD_PTR result = 0;
    return window_ && SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0;
}

bool MainWindow::WaitForFileLabel(const std::wstring& text) const {
    return window_ && WaitUntil([&] { return FileLabel() == text; }) && Sync();
}

int MainWindow::RowCount() const {
    return static_cast<int>(SendMessageW(Child(ids::kLvGame), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring MainWindow::Cell(int row, int column) const {
    LVITEMW item{};
    item.iSubItem = column;
    return TextThroughRemote(Child(ids::kLvGame), LVM_GETITEMTEXTW, row, item, &LVITEMW::pszText, &LVITEMW::cchTextMax);
}

std::vector<std::wstring> MainWindow::Headers() const {
    std::vector<std::wstring> headers;
    const HWND list = Child(ids::kLvGame);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (int column = 0, count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)); column < count; ++column) {
        LVCOLUMNW request{};
        request.mask = LVCF_TEXT;
        headers.push_back(TextThroughRemote(list, LVM_GETCOLUMNW, column, request, &LVCOLUMNW::pszText, &LVCOLUMNW::cchTextMax));
    }
    return headers;
}

std::vector<std::vector<std::wstring>> MainWindow::Rows() const {
    std::vector<std::vector<std::wstring>> rows(RowCount());
    const size_t columns = Headers().size();
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < columns; ++column) rows[row].push_back(Cell(static_cast<int>(row), static_cast<int>(column)));
    return rows;
}

int MainWindow::SelectedRow() const {
    return static_cast<int>(SendMessageW(Child(ids::kLvGame), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool MainWindow::Select(int row) const {
    const RemoteBuffer remote(Child(ids::kLvGame), sizeof(LVITEMW));
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    return remote.Write(0, &state, sizeof state) &&
           SendMessageW(Child(ids::kLvGame), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At(0))) && Sync();
}

bool MainWindow::PlayRow(int row) const {
    return window_ && PlayEnabled() && Select(row) && PostMessageW(Child(ids::kCmdPlay), BM_CLICK, 0, 0);
}

MainWindow WaitForListing(const AppProcess& app, const std::wstring& label) {
    const MainWindow window(WaitForVisibleWindow(app.Pid(), kMainWindowClass));
    return MainWindow(window.WaitForFileLabel(label) ? window.Handle() : nullptr);
}

bool MessageBoxView::PressOk() const {
    const HWND ok = GetDlgItem(window, IDOK);
    return ok && PostMessageW(ok, BM_CLICK, 0, 0) && WaitUntil([&] { return !IsWindowVisible(window); });
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid) {
    MessageBoxView box;
    box.window = WaitForVisibleWindow(pid, L"#32770");
    if (!box.window) return std::nullopt;
    box.caption = TextOf(box.window);
    box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
    const HWND icon = GetDlgItem(box.window, 0x440);
    box.hasIcon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0);
    return box;
}

void PostKey(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

// Posted messages would not change the key state the program asks for Ctrl.
bool TypeCtrlKey(HWND window, WORD virtualKey) {
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; })) return false;
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_CONTROL, virtualKey, virtualKey, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    return SendInput(4, inputs, sizeof(INPUT)) == 4;
}

// The hook DLL writes "menu-<pid>.txt" next to itself when a menu opens (one line per entry: flags
// c checked, g grayed, a tab, the text) and "menu-<pid>.closed" when the menu loop has ended.
std::optional<std::vector<MenuEntry>> RecordMenu(HWND window, const std::function<void()>& open, bool close) {
    const std::wstring dll = WindowsPath(FLOPPEX_E2E_MENU_HOOK);
    HMODULE module = LoadLibraryW(dll.c_str());
    const auto hookProc = module ? reinterpret_cast<HOOKPROC>(GetProcAddress(module, "MenuHookProc")) : nullptr;
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    const std::wstring dump = FolderOf(dll) + L"\\menu-" + std::to_wstring(pid);
    DeleteFileW((dump + L".txt").c_str());
    DeleteFileW((dump + L".closed").c_str());
    std::optional<std::vector<MenuEntry>> entries;
    if (HHOOK hook = hookProc ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, module, thread) : nullptr) {
        open();
        if (WaitUntil([&] { return FileExists(dump + L".txt"); })) {
            std::istringstream lines(ReadWholeFile(dump + L".txt"));
            entries.emplace();
            for (std::string line; std::getline(lines, line);) {
                const size_t tab = line.find('\t');
                const std::wstring text = Widen(line.substr(tab + 1));
                entries->push_back({text.substr(0, text.find(L'\t')), line.find('c') < tab, line.find('g') > tab});
            }
        }
        // The program's menu loop would swallow keys sent to the window: close it and wait for its end.
        if (const HWND popup = entries && close ? WaitForPopup(pid) : nullptr) {
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitUntil([&] { return FileExists(dump + L".closed"); });
        }
        UnhookWindowsHookEx(hook);
    }
    if (module) FreeLibrary(module);
    return entries;
}

std::optional<std::vector<MenuEntry>> ReadContextMenu(HWND window) {
    const RECT rect = WindowRectOf(window);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return RecordMenu(window, [&] { PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), at); }, true);
}

std::optional<MenuEntry> FindEntry(const std::vector<MenuEntry>& entries, const std::wstring& text) {
    for (const MenuEntry& entry : entries)
        if (entry.text == text) return entry;
    return std::nullopt;
}

HWND WaitForPopup(DWORD pid) { return WaitForVisibleWindow(pid, kPopupClass); }

void ResetRegistry() {
    const wchar_t* shellKeys[] = {L".d64", L".p00", L".prg", L".t64", L".tap", L"FloppexD64", L"FloppexP00",
                                  L"FloppexPRG", L"FloppexT64", L"FloppexTAP"};
    const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Brindale");
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << "registry status " << status;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Brindale");
    for (const wchar_t* key : shellKeys) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    }
}

std::optional<DWORD> ValueType(const std::wstring& key, const std::wstring& name, HKEY root) {
    DWORD type = REG_NONE;
    return ReadValue(root, key, name, type) ? std::optional<DWORD>(type) : std::nullopt;
}

std::optional<DWORD> ReadDword(const std::wstring& key, const std::wstring& name) {
    DWORD type = REG_NONE, value = 0;
    const auto bytes = ReadValue(HKEY_LOCAL_MACHINE, key, name, type);
    if (!bytes || type != REG_DWORD || bytes->size() != sizeof value) return std::nullopt;
    memcpy(&value, bytes->data(), sizeof value);
    return value;
}

std::optional<std::wstring> ReadString(const std::wstring& key, const std::wstring& name, HKEY root) {
    DWORD type = REG_NONE;
    const auto bytes = ReadValue(root, key, name, type);
    if (!bytes || type != REG_SZ) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

void WriteDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    WriteValue(key, name, REG_DWORD, &value, sizeof value);
}

void WriteString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    WriteValue(key, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring InstallEmulator(const ProgramFolder& folder, int emu, const std::wstring& exeName) {
    static const wchar_t* pathValues[] = {
        L"CCS64v109Path",   L"CCS64v20DosPath",    L"CCS64v20WinPath",    L"VICEv0161Path",
        L"WinVICEv0161Path", L"C64Sv252Path",      L"Win64PROPath",       L"PC64Dosv122Path",
        L"PC64Winv214Path", L"ComeBack64v099Path", L"FrodoWin32v411Path"};
    const std::wstring dir = folder.File(L"emu" + std::to_wstring(emu));
    CreateDirectoryW(dir.c_str(), nullptr);
    EXPECT_TRUE(CopyFileW(FakeEmulatorExe().c_str(), (dir + L"\\" + exeName).c_str(), FALSE));
    WriteString(kPathsKey, pathValues[emu], dir + L"\\" + exeName);
    return dir + L"\\" + exeName;
}

// The fake emulator appends a line per start: its working folder and its arguments, tab-separated.
std::vector<Launch> LaunchesOf(const std::wstring& exe) {
    std::vector<Launch> launches;
    std::wistringstream lines(Widen(ReadWholeFile(LogOf(exe))));
    for (std::wstring line; std::getline(lines, line) && !lines.eof();) {
        std::wistringstream fields(line);
        Launch launch;
        std::getline(fields, launch.folder, L'\t');
        for (std::wstring argument; std::getline(fields, argument, L'\t');) launch.argv.push_back(argument);
        launches.push_back(launch);
    }
    return launches;
}

std::optional<Launch> WaitForLaunch(const std::wstring& exe) {
    if (!WaitUntil([&] { return !LaunchesOf(exe).empty(); })) return std::nullopt;
    return LaunchesOf(exe).front();
}

bool SameFolder(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b})
        if (!s->empty() && s->back() == L'\\') s->pop_back();
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace floppex::e2e
