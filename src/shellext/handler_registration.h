#pragma once
// The shell's ties to FloppexShell.dll: its classes, and for each extension it serves the
// thumbnail and preview handlers, machine-wide where that is allowed, else for the user alone.
// Written by Floppex.exe at each start and by regsvr32; removed by regsvr32 /u, which is remembered.
#include <string>
#include <string_view>

namespace floppex::shellext {

// Writes every value for the DLL at dllPath; true when any was not already stored as written.
bool RegisterHandlers(const std::wstring& dllPath);
// The same for the two handlers of one extension; nothing for an extension they do not serve.
bool RegisterHandlersFor(std::wstring_view extension, const std::wstring& dllPath);

// Removes every value RegisterHandlers writes, machine-wide and the user's own, and the keys that
// it leaves empty.
void UnregisterHandlers();

// Whether the handlers were removed, so that Floppex.exe does not write them again; and the choice.
bool HandlersRemoved();
void RememberRemoval(bool removed);

}  // namespace floppex::shellext
