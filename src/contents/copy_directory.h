#pragma once
// Ctrl+C and "Copy Directory": the listed file's directory to paste anywhere.
#include "window/main_window.h"

namespace floppex {

// Puts the listed file's directory on the clipboard as a picture of the C64's screen (each C64
// pixel 2 x 2, in the character set the window shows) and as the listing's text (the info line,
// then one line a row, columns apart by tabs). Nothing listed, nothing copied.
void CopyDirectory(MainWindow& window);

}  // namespace floppex
