#pragma once
// The contents view: what a C64 game file holds, or the empty view.
#include <string>

#include "window/main_window.h"

namespace floppex {

// Lists the file at path by its type: columns, rows, the info line and the remembered entry
// selected. A file that cannot be read is told about and leaves the empty view.
void ShowContents(MainWindow& window, std::wstring path);
// The listing shown drawn again after the C64 face was switched, the chosen entry still selected.
void ShowAgainInChosenFace(MainWindow& window);
// The empty view: "No Game Loaded", no rows, Play disabled, no file requested.
void ResetView(MainWindow& window);

}  // namespace floppex
