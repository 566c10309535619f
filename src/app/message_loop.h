#pragma once
// The message loop: keys reach the window before the control that has the focus.
#include "window/main_window.h"

namespace floppex {

// Runs until the window is unloaded.
int RunMessageLoop(MainWindow& window);
// Runs the window messages that are waiting; false when the window was unloaded meanwhile. The
// window service PumpPendingMessages.
bool DispatchPendingMessages(MainWindow& window);

}  // namespace floppex
