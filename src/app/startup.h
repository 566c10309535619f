#pragma once
// Start-up (the main window's load) and shut-down (its unload).
#include <string>

#include "window/main_window.h"

namespace floppex {

enum class StartOutcome { Running, HandedOver };

// Reads the settings, sizes and places the window, and handles the command-line request; or,
// when another window runs and only one is allowed, hands the request to it.
StartOutcome Startup(MainWindow& window, const std::wstring& commandTail);
// Remembers the chosen entry and the window's place, and destroys the window; once. Everything
// else reaches it as the window service Unload.
void ShutDown(MainWindow& window);

}  // namespace floppex
