#pragma once
// The message loop: keys reach the window before the control that has the focus.
#include <functional>

#include "window/main_window.h"

namespace floppex {

// Work for the moments when no message waits, in short steps: each call runs one, and returns
// true while more remain.
using IdleSteps = std::function<bool()>;

// Runs until the window is unloaded. Whenever no message waits (the window painted, nothing sent
// to it), the next idle step runs, so that the window answers within one step; steps left when
// the loop ends run then.
int RunMessageLoop(MainWindow& window, const IdleSteps& idleSteps);
// Runs the window messages that are waiting; false when the window was unloaded meanwhile. The
// window service PumpPendingMessages.
bool DispatchPendingMessages(MainWindow& window);

}  // namespace floppex
