#pragma once
// What the main window's menu entries, keys and Play button do.
#include <windows.h>

#include "window/main_window.h"

namespace floppex {

// A command of the menus or the Play button.
void OnCommand(MainWindow& window, int id);
// A key pressed anywhere in the window; true when it was one of the window's own keys.
bool OnKeyDown(MainWindow& window, UINT key);

}  // namespace floppex
