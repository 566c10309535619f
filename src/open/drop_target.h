#pragma once
// Files dragged onto the contents list: the first one is opened as if it had been requested.
#include "window/main_window.h"

namespace floppex {

// Starts OLE on this thread and makes the list a drop target for the shell's file lists, whose
// first file is handed to handOn; once.
void AcceptListDrops(MainWindow& window, RequestHandler handOn);
// Undoes that, if it was done.
void StopListDrops(MainWindow& window);

}  // namespace floppex
