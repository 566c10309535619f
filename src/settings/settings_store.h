#pragma once
// The settings: loaded at start, each saved as it changes.
#include "window/main_window.h"

namespace floppex {

// Reads the switches, the program paths and the open dialog's folder, checks the programs, places
// the window and checks the menu's switches to match.
void LoadSettings(MainWindow& window);
// Notes which configured programs exist and enables the emulator menu's entries to match.
void CheckProgramPaths(MainWindow& window);
void SaveWindowPlacement(MainWindow& window);
// Puts the window on top or not as "Always On Top" is checked, and stores that.
void ApplyOnTop(MainWindow& window);
void SaveKeepOpen(MainWindow& window);
void SaveMultiple(MainWindow& window);
// Stores the C64 face's two switches as their menu entries are checked.
void SaveC64Face(MainWindow& window);

}  // namespace floppex
