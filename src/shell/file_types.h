#pragma once
// The C64 file types registered with the shell, so that it hands their files to Floppex.

namespace floppex {

// Writes each type's keys, its icon and its "Contents..." and "Play" verbs, and the thumbnail and
// preview handlers of FloppexShell.dll beside the program, and tells Explorer when anything changed.
void RegisterFileTypes();

}  // namespace floppex
