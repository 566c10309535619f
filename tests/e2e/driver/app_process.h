#pragma once
// One started copy of the program. The destructor ends it if it still runs, so a failing test
// leaves nothing behind.
#include <windows.h>

#include <optional>
#include <string>

namespace floppex::e2e {

class AppProcess {
public:
    // Starts `exe` with the command line `"exe" tail` (just `"exe"` for an empty tail), in the
    // exe's folder.
    AppProcess(const std::wstring& exe, const std::wstring& tail);
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    ~AppProcess();

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    bool Running() const;
    // Waits for the end of the process; its exit code, or nothing when it still runs.
    std::optional<DWORD> WaitForExit(unsigned timeoutMs);
    // Asks every top-level window of the process to close, then waits for the end.
    std::optional<DWORD> Close(unsigned timeoutMs);

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

}  // namespace floppex::e2e
