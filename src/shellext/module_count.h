#pragma once
// The one state the DLL's objects share: how many of them (and locks on it) live, which decides
// whether COM may unload it, and the module's own handle.
#include <windows.h>

namespace floppex::shellext {

void ObjectMade();
void ObjectGone();
bool NoObjects();
HMODULE ThisModule();

}  // namespace floppex::shellext
