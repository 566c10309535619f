#pragma once
// One running window per user: a second start hands its request to it and ends.
#include <windows.h>

#include <string_view>

namespace floppex {

struct MainWindow;

// True when another Floppex process was already running when this one started. The test is a
// named mutex that every process creates at start and holds until it ends.
bool AnotherInstanceRunning();

// Sender: finds the main window of class "ThunderRT6FormDC" captioned title, restores and
// activates it and sends request as WM_COPYDATA (tag 0, UTF-16 without terminator), waiting
// until it has been handled. The window is waited for a few seconds; when it never shows, the
// request is dropped.
void FindRunningInstance(std::wstring_view title, std::wstring_view request, HWND ownWindow);

// Receiver: rebuilds the request from the COPYDATASTRUCT at lParam and handles it.
LRESULT ReceiveRequest(MainWindow& window, LPARAM lParam);

}  // namespace floppex
