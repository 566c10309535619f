#include "components/system/archiver_runner.h"

#include <windows.h>

namespace floppex {

namespace {

constexpr DWORD kArchiverTimeoutMs = 120000;

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

}  // namespace

bool RunArchiver(const std::filesystem::path& archiver, const std::filesystem::path& archive,
                 const std::filesystem::path& outDir, const std::string&) {
    std::wstring commandLine = Quoted(archiver) + L" -min -e -o " + Quoted(archive) + L" " + Quoted(outDir);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(archiver.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        outDir.c_str(), &startup, &process))
        return false;
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, kArchiverTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

}  // namespace floppex
