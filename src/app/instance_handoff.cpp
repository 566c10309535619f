#include "app/instance_handoff.h"

#include <string>

#include "app/lifecycle_logic.h"
#include "launch/handle_request.h"
#include "window/main_window.h"

namespace floppex {

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Floppex.RunningInstance";
// How long a second start waits for the running window to be found: it is hidden from the search
// while its caption is replaced (unpacking) and before start-up has titled it.
constexpr ULONGLONG kWindowWaitMs = 5000;

HWND WaitForRunningWindow(std::wstring_view title) {
    const std::wstring caption(title);
    const ULONGLONG end = GetTickCount64() + kWindowWaitMs;
    for (;;) {
        const HWND found = FindWindowW(kWindowClass.data(), caption.c_str());
        if (found || GetTickCount64() >= end) return found;
        Sleep(50);
    }
}

}  // namespace

bool AnotherInstanceRunning() {
    // Deliberately never closed: the handle marks this process as running until it ends.
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    return mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

void FindRunningInstance(std::wstring_view title, std::wstring_view request, HWND ownWindow) {
    const HWND target = WaitForRunningWindow(title);
    if (!target) return;
    if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
    SetForegroundWindow(target);
    std::wstring text(request);
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    data.lpData = text.empty() ? nullptr : text.data();
    SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(ownWindow), reinterpret_cast<LPARAM>(&data));
}

LRESULT ReceiveRequest(MainWindow& window, LPARAM lParam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const size_t units = data ? HandoffUnits(data->cbData, data->lpData != nullptr) : 0;
    if (units > 0) HandleRequest(window, std::wstring(static_cast<const wchar_t*>(data->lpData), units));
    return -1;
}

}  // namespace floppex
