#pragma once
// The about box: the program's name, version and date, and links to its maker.
#include "window/main_window.h"

namespace floppex {

// Shown modally over the main window, which stays topmost only outside it.
void ShowAbout(MainWindow& window);

}  // namespace floppex
