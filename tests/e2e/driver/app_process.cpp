#include "driver/app_process.h"

#include <vector>

#include "driver/waiting.h"
#include "driver/window_finder.h"

namespace floppex::e2e {

AppProcess::AppProcess(const std::wstring& exe, const std::wstring& tail) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!tail.empty()) commandLine += L" " + tail;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
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
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::optional<DWORD> AppProcess::Close(unsigned timeoutMs) {
    for (HWND window : TopLevelWindows(pid_)) PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

}  // namespace floppex::e2e
