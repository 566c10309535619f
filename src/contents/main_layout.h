#pragma once
// The main window's controls, menus and layout.
#include "window/main_window.h"

namespace floppex {

// The labels, the list, the Play button (whose right button opens the emulator menu) and the two
// popup menus, placed for the window's resolution.
void BuildControls(MainWindow& window);
// Fits the list and the Play button to the window's height.
void LayoutControls(MainWindow& window);

}  // namespace floppex
