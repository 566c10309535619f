#pragma once
// Finding another process's windows and reading what they show.
#include <windows.h>

#include <string>
#include <vector>

namespace floppex::e2e {

// Top-level windows of process `pid`, of class `className` when one is given.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className = L"");
// The first visible top-level window of the class in the process, waiting for it; null if none came.
HWND WaitForVisibleWindow(DWORD pid, const std::wstring& className);
bool HasVisibleWindow(DWORD pid, const std::wstring& className);

std::wstring ClassNameOf(HWND window);
// WM_GETTEXT, which works across processes.
std::wstring TextOf(HWND window);
HWND ChildById(HWND parent, int id);

RECT WindowRectOf(HWND window);
SIZE ClientSizeOf(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRectOf(HWND parent, HWND child);

}  // namespace floppex::e2e
