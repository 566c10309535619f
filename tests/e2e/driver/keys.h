#pragma once
// Keys for another process's window.
#include <windows.h>

namespace floppex::e2e {

// A plain key (F1, F5 ...) posted as key down and key up; no modifier is held.
void PostKey(HWND window, WORD virtualKey);
// Ctrl + key typed through the system input queue, after bringing `window` to the front:
// posted messages would not change the key state that the program asks for.
bool TypeCtrlKey(HWND window, WORD virtualKey);

}  // namespace floppex::e2e
