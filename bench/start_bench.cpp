// Start-up and load benchmarks for Floppex.exe, run under Wine (or Windows) by bench/windows.sh.
//
// start_bench startup FLOPPEX_EXE MINIMAL_EXE DISK [PAIRS]
//   Starts Floppex.exe on DISK (a disk of 30 entries) and the minimal list window alternately, PAIRS
//   times each (default 31), after one start of each that is not counted. A start is timed from
//   CreateProcessW until the program's visible window shows the finished listing: for Floppex the
//   file-name label reads DISK's file name and the shown list view holds 33 rows (30 entries, two
//   empty rows, the blocks-free row); for the minimal program its list view holds 33 rows. Then
//   the window gets WM_CLOSE and the process must end before the next start. Prints the medians
//   and their ratio as a Markdown table row, and the spread of the pairs' own ratios. Wall time
//   only: Wine reports no CPU time for another process (GetProcessTimes gives a child that spun
//   for 400 ms none), so a CPU column would compare numbers that are not the programs'.
//
// start_bench load FLOPPEX_EXE HOOK_DLL FIRST_FILE FILE...
//   Starts Floppex.exe on FIRST_FILE, sets the listing hook (listing_hook.dll) on its window's
//   thread, then starts Floppex.exe once per FILE, all at once. Each of those hands its request to
//   the running window. Every FILE must be listed (its label, or for an archive its "Extracting"
//   caption, then an info line naming the disk "STEM" of the file's own name, then the list shown),
//   every process must end with status 0, and the window must still answer and close normally.
//
// Every wait is bounded. Exit status 0 when all went well, 1 with a message on stderr otherwise.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLblFilename = 101;  // control ids of Floppex's main window (src/window/control_ids.h)
constexpr int kLvGame = 103;
constexpr wchar_t kFloppexClass[] = L"ThunderRT6FormDC";
constexpr wchar_t kMinimalClass[] = L"FloppexBenchMinimalWindow";
constexpr int kListedRows = 33;
constexpr DWORD kPollMs = 2;
constexpr DWORD kStartLimitMs = 30000;  // a start that shows nothing by then counts as hung
constexpr DWORD kExitLimitMs = 15000;
constexpr DWORD kLoadLimitMs = 180000;
constexpr UINT kAnswerLimitMs = 5000;

[[noreturn]] void Fail(const std::string& text) {
    std::fprintf(stderr, "start_bench: FAILED: %s\n", text.c_str());
    std::fflush(stderr);
    ExitProcess(1);
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Folder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring Stem(const std::wstring& path) {
    std::wstring name = FileName(path);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

class Process {
public:
    Process(const std::wstring& exe, const std::wstring& tail) : name_(Narrow(FileName(exe) + L" " + tail)) {
        std::wstring line = L"\"" + exe + L"\"";
        if (!tail.empty()) line += L" " + tail;
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        const std::wstring folder = Folder(exe);
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &info))
            Fail("cannot start " + name_ + " (error " + std::to_string(GetLastError()) + ")");
        CloseHandle(info.hThread);
        handle_ = info.hProcess;
        pid_ = info.dwProcessId;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (Running()) {
            TerminateProcess(handle_, 9);
            WaitForSingleObject(handle_, kExitLimitMs);
        }
        CloseHandle(handle_);
    }

    DWORD Pid() const { return pid_; }
    const std::string& Name() const { return name_; }
    bool Running() const { return WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(handle_, &code);
        return code;
    }
    // Waits for the end of the process; fails the bench when it hangs or ends with an error.
    void ExpectExit(DWORD limitMs) {
        if (WaitForSingleObject(handle_, limitMs) != WAIT_OBJECT_0) {
            TerminateProcess(handle_, 9);
            Fail(name_ + " did not end within " + std::to_string(limitMs) + " ms (hung)");
        }
        if (ExitCode() != 0) Fail(name_ + " ended with status " + std::to_string(ExitCode()) + " (crashed?)");
    }

private:
    std::string name_;
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = L"";
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s.pid) s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The process's visible top-level window of the class, or null.
HWND VisibleWindow(DWORD pid, const wchar_t* className) {
    for (HWND hwnd : TopLevelWindows(pid))
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == className) return hwnd;
    return nullptr;
}

// Rows of a list view that is visible when it answers, or -1 while it is hidden or does not answer.
// Asked before its visibility is read, so that the question already waits while the program
// finishes its listing, and is answered as it goes back to its messages. A question asked only
// once the list shows may find the program painting (tens of milliseconds): the minimal window's
// list shows at the start of a long ShowWindow and always had its question waiting, Floppex's
// shows a millisecond before its message loop and mostly had not.
int ShownRows(HWND list) {
    DWORD_PTR rows = 0;
    if (!list || !SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &rows)) return -1;
    return IsWindowVisible(list) ? static_cast<int>(rows) : -1;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

bool FloppexListed(HWND window, const std::wstring& label, int rows) {
    return TextOf(GetDlgItem(window, kLblFilename)) == label && ShownRows(GetDlgItem(window, kLvGame)) == rows;
}

bool MinimalListed(HWND window) {
    const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    return ShownRows(list) == kListedRows;
}

// Puts the pointer in the screen's last corner, away from both windows (Floppex comes up centred,
// the minimal window near the top left): a window that comes up under the pointer is sent mouse
// messages while it starts, about 1.5 ms of work here, and only Floppex, under the pointer at
// the centre of a fresh display, was.
void ParkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

// One start of a program, timed (ms) until its window shows the listing; then closed.
double TimeStart(const std::wstring& exe, const std::wstring& tail, const wchar_t* className, bool floppex) {
    const std::wstring label = FileName(tail);
    const double begin = Now();
    Process process(exe, tail);
    HWND window = nullptr;
    for (;;) {
        window = VisibleWindow(process.Pid(), className);
        if (window && (floppex ? FloppexListed(window, label, kListedRows) : MinimalListed(window))) break;
        if (!process.Running()) Fail(process.Name() + " ended before it showed its listing");
        if (Now() - begin > kStartLimitMs) Fail(process.Name() + " showed no finished listing within 30 s");
        Sleep(kPollMs);
    }
    const double ms = Now() - begin;
    PostMessageW(window, WM_CLOSE, 0, 0);
    process.ExpectExit(kExitLimitMs);
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The spread of the pairs' own ratios: least, quartiles (nearest rank) and most.
std::string Spread(std::vector<double> ratios) {
    std::sort(ratios.begin(), ratios.end());
    const size_t last = ratios.size() - 1;
    char text[128];
    std::snprintf(text, sizeof text, "%.2f / %.2f / %.2f / %.2f / %.2f", ratios.front(), ratios[last / 4],
                  ratios[last / 2], ratios[(3 * last + 3) / 4], ratios.back());
    return text;
}

int RunStartup(const std::wstring& floppex, const std::wstring& minimal, const std::wstring& disk, int pairs) {
    ParkPointer();
    TimeStart(floppex, disk, kFloppexClass, true);  // first starts: registry keys, caches
    TimeStart(minimal, L"", kMinimalClass, false);
    std::vector<double> fWall, mWall, ratios;
    for (int i = 0; i < pairs; ++i) {
        const double f = TimeStart(floppex, disk, kFloppexClass, true);
        const double m = TimeStart(minimal, L"", kMinimalClass, false);
        fWall.push_back(f);
        mWall.push_back(m);
        ratios.push_back(f / m);
        std::fprintf(stderr, "pair %d: Floppex %.1f ms, minimal %.1f ms\n", i + 1, f, m);
    }
    const double fw = Median(fWall), mw = Median(mWall);
    std::printf("| start until a 30-entry disk is listed, median of %d alternating | %.0f | minimal list window | "
                "%.0f | **%.2f** | <= 1.05 |\n",
                pairs, fw, mw, fw / mw);
    std::printf("\nThe pairs' own wall ratios, least / lower quartile / median / upper quartile / most: %s\n",
                Spread(ratios).c_str());
    return 0;
}

// ---- load ------------------------------------------------------------------------------------

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::vector<std::string> lines;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = data.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(data.substr(start, end - start));
    return lines;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

// Which of the requested files the log shows as listed: the request's label (a disk) or its
// "Extracting" caption (an archive), then an info line starting with the file's stem, then the
// list shown again. Archives all list as the same working file, so the info line names them.
std::vector<bool> Listed(const std::vector<std::string>& log, const std::vector<std::wstring>& files) {
    std::vector<bool> listed(files.size(), false);
    std::wstring info;
    bool infoSet = false;
    for (const std::string& line : log) {
        if (line.rfind("label\t", 0) == 0) {
            infoSet = false;
        } else if (line.rfind("info\t", 0) == 0) {
            info = Widen(line.substr(5));
            infoSet = true;
        } else if (line == "shown" && infoSet) {
            for (size_t i = 0; i < files.size(); ++i)
                if (StartsWithNoCase(info, Stem(files[i]))) listed[i] = true;
            infoSet = false;
        }
    }
    return listed;
}

bool LogHas(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

int RunLoad(const std::wstring& floppex, const std::wstring& hookDll, const std::wstring& first,
            const std::vector<std::wstring>& files) {
    Process running(floppex, first);
    double begin = Now();
    HWND window = nullptr;
    for (;;) {
        window = VisibleWindow(running.Pid(), kFloppexClass);
        if (window && TextOf(GetDlgItem(window, kLblFilename)) == FileName(first) &&
            ShownRows(GetDlgItem(window, kLvGame)) > 0)
            break;
        if (!running.Running()) Fail("the first Floppex.exe ended before it listed " + Narrow(first));
        if (Now() - begin > kStartLimitMs) Fail("the first Floppex.exe did not list " + Narrow(first) + " within 30 s");
        Sleep(kPollMs);
    }

    const std::wstring log = Folder(hookDll) + L"\\listing-" + std::to_wstring(running.Pid()) + L".log";
    const std::wstring ready = Folder(hookDll) + L"\\listing-" + std::to_wstring(running.Pid()) + L".ready";
    DeleteFileW(log.c_str());
    DeleteFileW(ready.c_str());
    const HMODULE dll = LoadLibraryW(hookDll.c_str());
    const auto proc = dll ? reinterpret_cast<HOOKPROC>(GetProcAddress(dll, "ListingHookProc")) : nullptr;
    if (!proc) Fail("cannot load " + Narrow(hookDll));
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, proc, dll, GetWindowThreadProcessId(window, nullptr));
    if (!hook) Fail("cannot set the listing hook (error " + std::to_string(GetLastError()) + ")");
    begin = Now();
    while (GetFileAttributesW(ready.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &ignored);
        if (Now() - begin > kStartLimitMs) Fail("the listing hook was not loaded into Floppex.exe within 30 s");
        Sleep(20);
    }

    // All at once: each second start finds the running window and hands its file over.
    begin = Now();
    std::vector<std::unique_ptr<Process>> starts;
    for (const std::wstring& file : files) starts.push_back(std::make_unique<Process>(floppex, file));
    std::vector<bool> listed;
    size_t ended = 0;
    for (;;) {
        ended = 0;
        for (const auto& start : starts) {
            if (start->Running()) continue;
            ++ended;
            if (start->ExitCode() != 0)
                Fail(start->Name() + " ended with status " + std::to_string(start->ExitCode()) + " (crashed?)");
        }
        listed = Listed(ReadLines(log), files);
        if (ended == starts.size() && std::count(listed.begin(), listed.end(), true) == std::ssize(files)) break;
        if (!running.Running()) Fail("the running Floppex.exe ended while requests came in");
        if (Now() - begin > kLoadLimitMs) break;
        Sleep(20);
    }
    const double elapsed = Now() - begin;
    UnhookWindowsHookEx(hook);

    std::string problems;
    for (const auto& start : starts)
        if (start->Running()) problems += "  still running (hung): " + start->Name() + "\n";
    const std::vector<std::string> lines = ReadLines(log);
    for (size_t i = 0; i < files.size(); ++i) {
        if (listed[i]) continue;
        const std::wstring name = FileName(files[i]);
        const std::string arrival = LogHas(lines, "label\t" + Narrow(name))                     ? "its label was set"
                                    : LogHas(lines, "caption\tExtracting " + Narrow(name)) ? "it was unpacked"
                                                                                          : "";
        problems += "  not listed: " + Narrow(files[i]) +
                    (arrival.empty() ? " (its request was lost)\n"
                                     : " (" + arrival + ", but no listing of disk " + Narrow(Stem(files[i])) +
                                           " followed: another file's listing took its place)\n");
    }
    for (HWND hwnd : TopLevelWindows(running.Pid()))
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770")
            problems += "  a message box is open: \"" + Narrow(TextOf(FindWindowExW(hwnd, nullptr, L"Static", nullptr))) +
                        "\"\n";
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &ignored))
        problems += "  the running window does not answer (hung)\n";
    if (!problems.empty())
        Fail(std::to_string(files.size()) + " second starts, " + std::to_string(static_cast<long>(elapsed)) +
             " ms:\n" + problems);

    PostMessageW(window, WM_CLOSE, 0, 0);
    running.ExpectExit(kExitLimitMs);
    std::printf("| %zu second starts at once, each handed to the running window and listed | %.0f | all %zu "
                "listed, every process ended with status 0 |\n",
                files.size(), elapsed, files.size());
    return 0;
}

[[noreturn]] void Usage() {
    Fail("usage: start_bench startup FLOPPEX_EXE MINIMAL_EXE DISK [PAIRS]\n"
         "       start_bench load FLOPPEX_EXE HOOK_DLL FIRST_FILE FILE...");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) Usage();
    const std::wstring mode = argv[1];
    if (mode == L"startup" && (argc == 5 || argc == 6)) {
        const int pairs = argc == 6 ? _wtoi(argv[5]) : 31;
        if (pairs < 1) Usage();
        return RunStartup(argv[2], argv[3], argv[4], pairs);
    }
    if (mode == L"load" && argc >= 6) return RunLoad(argv[2], argv[3], argv[4], std::vector<std::wstring>(argv + 5, argv + argc));
    Usage();
}
