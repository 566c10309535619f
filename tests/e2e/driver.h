#pragma once
// Drives Floppex.exe from another process as a person would: starts it in a folder of its own,
// finds its windows, reads what they show, presses buttons and keys, and reads and seeds its
// registry values and its game index file.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "utf8.h"

namespace floppex::e2e {

// Upper bound for anything the program should do "soon"; it only keeps a broken program from
// hanging the run, so it is generous for a loaded machine.
inline constexpr unsigned kPatienceMs = 60000;
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = kPatienceMs);

inline constexpr wchar_t kMainWindowClass[] = L"ThunderRT6FormDC";
inline constexpr wchar_t kPopupClass[] = L"#32768";
inline constexpr wchar_t kNoGameLoaded[] = L"No Game Loaded";
inline constexpr wchar_t kRightClickToLoad[] = L"Right-click to Load";
inline constexpr wchar_t kWindowKey[] = L"Software\\Brindale\\Floppex\\Window";
inline constexpr wchar_t kIntegersKey[] = L"Software\\Brindale\\Floppex\\Integers";
inline constexpr wchar_t kPathsKey[] = L"Software\\Brindale\\Paths";

// Files. Fixture() is a file that make-fixtures.sh wrote.
std::wstring Fixture(const std::wstring& name);
std::wstring FakeEmulatorExe();
bool FileExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// A fresh folder named after the running test (inside `parent` when given), holding a copy of
// Floppex.exe; made anew, emptied, by each construction.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::wstring& parent = L"");
    const std::wstring& Path() const { return path_; }
    std::wstring Exe() const { return File(L"Floppex.exe"); }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring AddFixture(const std::wstring& fixture, const std::wstring& name) const;
    bool IniHas(const std::string& line) const { return ReadWholeFile(File(L"Floppex.ini")).find(line) != std::string::npos; }

private:
    std::wstring path_;
};

// Windows of another process.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className);
HWND WaitForVisibleWindow(DWORD pid, const std::wstring& className);
bool HasVisibleWindow(DWORD pid, const std::wstring& className);
std::wstring TextOf(HWND window);
RECT WindowRectOf(HWND window);
SIZE ClientSizeOf(HWND window);
int TwipsToPixels(double twips, bool vertical);

// One started copy of the program (`"exe" tail`, in the exe's folder); ended when dropped.
class AppProcess {
public:
    AppProcess(const std::wstring& exe, const std::wstring& tail);
    AppProcess(const AppProcess&) = delete;
    ~AppProcess();
    DWORD Pid() const { return pid_; }
    bool Running() const;
    std::optional<DWORD> WaitForExit(unsigned timeoutMs = kPatienceMs);
    // Asks every top-level window to close, then waits for the end.
    std::optional<DWORD> Close();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// The main window and its list, as seen from outside.
class MainWindow {
public:
    explicit MainWindow(HWND window) : window_(window) {}
    HWND Handle() const { return window_; }
    HWND Child(int id) const { return GetDlgItem(window_, id); }
    std::wstring FileLabel() const { return TextOf(Child(ids::kLblFilename)); }
    std::wstring InfoLabel() const { return TextOf(Child(ids::kLblInfo)); }
    bool PlayEnabled() const { return IsWindowEnabled(Child(ids::kCmdPlay)) != 0; }
    // Answers once the program has finished what it was doing and waits for messages again.
    bool Sync() const;
    bool WaitForFileLabel(const std::wstring& text) const;
    int RowCount() const;
    std::wstring Cell(int row, int column) const;
    std::vector<std::vector<std::wstring>> Rows() const;  // every cell of every row
    std::vector<std::wstring> Headers() const;
    int SelectedRow() const;  // -1 when none
    bool Select(int row) const;  // as a click on the row
    bool PlayRow(int row) const;  // chooses the row, clicks Play

private:
    HWND window_;
};

// The visible main window of `app` once its file label reads `label`; null when it never did.
MainWindow WaitForListing(const AppProcess& app, const std::wstring& label);

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring caption, text;
    bool hasIcon = false;
    bool PressOk() const;  // and waits until the box has gone
};
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid);

// A plain key posted as down and up; Ctrl + key typed through the system input queue.
void PostKey(HWND window, WORD virtualKey);
bool TypeCtrlKey(HWND window, WORD virtualKey);

// Popup menus, read from inside the program by a hook when they open.
struct MenuEntry {
    std::wstring text;  // without the shortcut after a tab
    bool checked = false, enabled = true;
};
// Runs `open` with the hook set; the entries of the menu that opened, nothing if none did. The menu
// stays open unless `close`.
std::optional<std::vector<MenuEntry>> RecordMenu(HWND window, const std::function<void()>& open, bool close);
// The window's own menu, opened as a right click does and closed again.
std::optional<std::vector<MenuEntry>> ReadContextMenu(HWND window);
std::optional<MenuEntry> FindEntry(const std::vector<MenuEntry>& entries, const std::wstring& text);
HWND WaitForPopup(DWORD pid);

// The program's registry keys (HKLM\Software\Brindale and the shell's file types).
void ResetRegistry();
std::optional<DWORD> ValueType(const std::wstring& key, const std::wstring& name, HKEY root = HKEY_LOCAL_MACHINE);
std::optional<DWORD> ReadDword(const std::wstring& key, const std::wstring& name);
std::optional<std::wstring> ReadString(const std::wstring& key, const std::wstring& name,
                                       HKEY root = HKEY_LOCAL_MACHINE);
void WriteDword(const std::wstring& key, const std::wstring& name, DWORD value);
void WriteString(const std::wstring& key, const std::wstring& name, const std::wstring& value);

// Fake emulators: a copy of fake_emulator.exe in a folder of its own, entered as emulator `emu`.
std::wstring InstallEmulator(const ProgramFolder& folder, int emu, const std::wstring& exeName = L"emulator.exe");
inline std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
inline std::wstring LogOf(const std::wstring& exe) { return FolderOf(exe) + L"\\fake-emulator.txt"; }
struct Launch {
    std::wstring folder;             // working folder
    std::vector<std::wstring> argv;  // as CommandLineToArgvW splits the command line
};
std::vector<Launch> LaunchesOf(const std::wstring& exe);
std::optional<Launch> WaitForLaunch(const std::wstring& exe);
bool SameFolder(std::wstring a, std::wstring b);  // ignoring case and a closing backslash

// A clean registry before each test.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override { ResetRegistry(); }
};

}  // namespace floppex::e2e
