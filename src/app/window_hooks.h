#pragma once
// The two procedures placed in front of the main window's own: the hand-off hook that takes
// WM_COPYDATA requests, and MainWindowProc, which answers the size-limit query.
#include <windows.h>

namespace floppex {

// Delivers WM_COPYDATA (74) of the main window to the hand-off receiver; every other message
// goes on unchanged.
void AttachMessageHook(HWND window);

// Puts MainWindowProc in front of the window's current procedure and keeps that one.
void HookWindow(HWND window);
// Puts the kept procedure back; does nothing when none is kept.
void UnhookWindow(HWND window);

}  // namespace floppex
