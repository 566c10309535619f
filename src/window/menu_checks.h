#pragma once
// The check marks of the window menu's switches (on top, keep open, multiple windows, the C64 face
// and its character set).
#include "window/main_window.h"

namespace floppex {

bool IsMenuChecked(const MainWindow& window, int command);
void SetMenuChecked(MainWindow& window, int command, bool checked);

}  // namespace floppex
