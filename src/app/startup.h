#pragma once
// Start-up (the main window's load) and shut-down (its unload).
#include <string>

#include "app/message_loop.h"
#include "window/main_window.h"

namespace floppex {

enum class StartOutcome { Running, HandedOver };

// Reads the settings, sizes and places the window, and handles the command-line request; or,
// when another window runs and only one is allowed, hands the request to it.
StartOutcome Startup(MainWindow& window, const std::wstring& commandTail);
// What the first listing does not need, for the message loop's idle moments, so that the listing
// shows and answers sooner: the list takes drops, then the file types are registered one at a time.
IdleSteps AfterStart(MainWindow& window);
// Remembers the chosen entry and the window's place, and destroys the window; once. Everything
// else reaches it as the window service Unload.
void ShutDown(MainWindow& window);

}  // namespace floppex
