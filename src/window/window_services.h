#pragma once
// Two services that every floor of the window uses and that the program's roof provides: closing
// the window (its unload, which saves what is remembered) and running the window messages that
// wait. Start-up hands them in before the window is created.
#include "window/main_window.h"

namespace floppex {

struct WindowServices {
    void (*unload)(MainWindow& window) = nullptr;
    bool (*pumpPendingMessages)(MainWindow& window) = nullptr;
};

void SetWindowServices(const WindowServices& services);

// Shuts the window down: what is remembered is saved and the window destroyed; once.
void Unload(MainWindow& window);
// Runs the window messages that are waiting; false when the window was unloaded meanwhile.
bool PumpPendingMessages(MainWindow& window);

}  // namespace floppex
