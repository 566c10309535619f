#pragma once
// The open dialog: C64 files chosen in the common Open box are listed here or in new windows.
#include "window/main_window.h"

namespace floppex {

// One file goes to this window (handed to handOn), or to a new window when several windows are
// allowed; several files each go to a new window. The folder and filter used are remembered after
// a completed dialog only.
void ShowOpenDialog(MainWindow& window, RequestHandler handOn);

}  // namespace floppex
