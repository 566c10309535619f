#pragma once
// Files dragged onto the contents list: the first one is opened as if it had been requested.
#include "app/main_window.h"

namespace floppex {

// Starts OLE on this thread and makes the list a drop target for the shell's file lists; once.
void AcceptListDrops(MainWindow& window);
// Undoes that, if it was done.
void StopListDrops(MainWindow& window);

}  // namespace floppex
