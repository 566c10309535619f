#pragma once
// An always-on-top window steps back while a dialog or another program's window of ours is open.
#include "window/main_window.h"

namespace floppex {

// Takes the window off the top when "Always On Top" is checked.
void SuspendTopmost(MainWindow& window);
// Puts it back on top when "Always On Top" is checked.
void RestoreTopmost(MainWindow& window);

}  // namespace floppex
