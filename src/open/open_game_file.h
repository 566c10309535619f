#pragma once
// Opening the requested file: listed by its type, unpacked first, or refused.
#include "window/main_window.h"

namespace floppex {

// Lists window.requestPath, unpacking an archive into the working file first; a missing file or
// one of no known type leaves the empty view.
void OpenGameFile(MainWindow& window);

}  // namespace floppex
