// The one way in for a file: empty view, list it, or play it at once.
#include "launch/handle_request.h"

#include <optional>

#include "c64/file_type.h"
#include "contents/show_contents.h"
#include "launch/request_logic.h"
#include "launch/run_game.h"
#include "open/open_game_file.h"
#include "settings/game_index_file.h"
#include "window/module_state.h"
#include "window/window_services.h"

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
    window.diskSet = {};
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

}  // namespace

void HandleRequest(MainWindow& window, std::wstring request) {
    if (window.unloaded || !window.requests.Arrive(std::move(request))) return;
    while (!window.unloaded) {
        const std::optional<std::wstring> next = window.requests.Next();
        if (!next) break;
        HandleOneRequest(window, *next);
    }
    window.requests.Finish();
}

}  // namespace floppex
