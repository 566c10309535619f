// The one way in for a file: empty view, list it, or play it at once.
#include <windows.h>

#include "app/main_window.h"
#include "app/module_state.h"
#include "launch/request_logic.h"
#include "c64/file_type.h"

namespace floppex {

namespace {

// Shows the window and lets it paint before a long step; false when it was closed meanwhile. A
// window shown for the first time leaves its list out of that paint: the list is about to be
// filled, and shows once it has been (or once the view is reset).
bool ShowAndPaint(MainWindow& window) {
    if (!IsWindowVisible(window.hwnd)) ShowWindow(window.lvGame, SW_HIDE);
    ShowWindow(window.hwnd, SW_SHOW);
    return PumpPendingMessages(window);
}

void PlayThenCloseIfHidden(MainWindow& window) {
    RunGame(window, Module().defaultEmu);
    if (!window.unloaded && !IsWindowVisible(window.hwnd)) Unload(window);
}

void HandlePlay(MainWindow& window, const std::wstring& path) {
    window.requestPath = path;
    if (IsSingleProgram(FileTypeOf(window.requestPath))) {
        window.gameIndex = 0;
        window.gamePath = window.requestPath;
        PlayThenCloseIfHidden(window);
        return;
    }
    window.gameIndex = ReadGameIndex(window, Helper().GetFileName(window.requestPath));
    if (window.gameIndex == -1) {
        window.gameIndex = 0;
        if (!ShowAndPaint(window)) return;
        window.gamePath = window.requestPath;
        OpenGameFile(window);
        return;
    }
    window.gamePath = window.requestPath;
    PlayThenCloseIfHidden(window);
}

void HandleOpen(MainWindow& window, const std::wstring& path) {
    if (!ShowAndPaint(window)) return;
    window.requestPath = path;
    window.gamePath = window.requestPath;
    window.gameIndex = ReadGameIndex(window, Helper().GetFileName(window.requestPath));
    if (window.gameIndex == -1) window.gameIndex = 0;
    OpenGameFile(window);
}

void HandleOneRequest(MainWindow& window, const std::wstring& request) {
    const Request parsed = ParseRequest(request);
    switch (parsed.kind) {
    case RequestKind::Empty:
        ShowWindow(window.hwnd, SW_SHOW);
        ResetView(window);
        window.gameIndex = 0;
        break;
    case RequestKind::Play:
        HandlePlay(window, parsed.path);
        break;
    case RequestKind::Open:
        HandleOpen(window, parsed.path);
        break;
    }
}

// More than this many requests waiting are a flood, not a user: the rest are dropped.
constexpr size_t kMaxWaitingRequests = 256;

}  // namespace

// A request that arrives while another is handled (a second start's, while a listing or an
// unpacking lets messages through) waits for it: handled at once, it would replace the working
// file that the first one is about to list.
void HandleRequest(MainWindow& window, std::wstring request) {
    if (window.unloaded) return;
    if (window.handlingRequest) {
        if (window.waitingRequests.size() < kMaxWaitingRequests) window.waitingRequests.push_back(std::move(request));
        return;
    }
    window.handlingRequest = true;
    HandleOneRequest(window, request);
    while (!window.waitingRequests.empty() && !window.unloaded) {
        const std::wstring next = std::move(window.waitingRequests.front());
        window.waitingRequests.erase(window.waitingRequests.begin());
        HandleOneRequest(window, next);
    }
    window.waitingRequests.clear();
    window.handlingRequest = false;
}

}  // namespace floppex
