#pragma once
// Files dragged onto the contents list: the first one is opened as if it had been requested.
#include "app/main_window.h"

namespace floppex {

// The list becomes an OLE drop target for the shell's file lists; needs OLE on this thread.
void RegisterListDropTarget(MainWindow& window);
void RevokeListDropTarget(MainWindow& window);

}  // namespace floppex
