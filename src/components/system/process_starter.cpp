#include "components/system/process_starter.h"

#include <vector>

namespace floppex {

namespace {

// The exit code of a process waited for; nothing when it was still running after waitMs.
std::optional<DWORD> AwaitEnd(HANDLE process, DWORD waitMs, bool shareConsole) {
    if (shareConsole) SetConsoleCtrlHandler(nullptr, TRUE);
    const bool ended = WaitForSingleObject(process, waitMs) == WAIT_OBJECT_0;
    if (shareConsole) SetConsoleCtrlHandler(nullptr, FALSE);
    if (!ended) {
        TerminateProcess(process, 1);
        return std::nullopt;
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

}  // namespace

ProcessOutcome StartProcess(const ProcessStart& start, std::optional<DWORD> waitMs) {
    std::vector<wchar_t> commandLine(start.commandLine.begin(), start.commandLine.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (start.show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *start.show;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(start.program.c_str(), commandLine.data(), nullptr, nullptr, start.shareConsole, 0, nullptr,
                        start.folder.empty() ? nullptr : start.folder.c_str(), &startup, &process))
        return {GetLastError(), std::nullopt};
    ProcessOutcome outcome;
    if (waitMs) outcome.exitCode = AwaitEnd(process.hProcess, *waitMs, start.shareConsole);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

}  // namespace floppex
