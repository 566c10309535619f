#pragma once
// Starting a program: the one place the program and floppex-cli create a process.
#include <windows.h>

#include <optional>
#include <string>

namespace floppex {

struct ProcessStart {
    std::wstring program;      // the program's file
    std::wstring commandLine;  // the whole command line, the program's own path first
    std::wstring folder;       // the folder it starts in; empty: this process's
    std::optional<WORD> show;  // how its first window shows (SW_...); nothing: as it chooses
    bool shareConsole = false; // it inherits the standard streams, and Ctrl-C is left to it while waited for
};

struct ProcessOutcome {
    DWORD error = 0;                 // the system's error when it could not be started, else 0
    std::optional<DWORD> exitCode;   // when waited for and it ended in time
    bool Started() const { return error == 0; }
};

// Starts the program; with a wait (in milliseconds, INFINITE allowed), waits for its end, and ends
// a program still running when the time is up.
ProcessOutcome StartProcess(const ProcessStart& start, std::optional<DWORD> waitMs = std::nullopt);

}  // namespace floppex
