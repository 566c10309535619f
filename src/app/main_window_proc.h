#pragma once
// The main window's class, its creation and its own procedure.
#include <windows.h>

#include "window/main_window.h"

namespace floppex {

bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the window at its start size for the screen's resolution; its controls are built as it
// is created.
HWND CreateMainWindow(HINSTANCE instance, MainWindow& window);

}  // namespace floppex
