#pragma once
// The options dialog: the default emulator and where each emulator's program and WinZip lie.
#include "window/main_window.h"

namespace floppex {

// Shown modally over the main window. True when the user pressed OK: the choices are then
// stored, the programs checked again and the emulator menu's entries enabled to match.
bool ShowOptions(MainWindow& window);

}  // namespace floppex
