#pragma once
// What the main window's modal dialogs share: an empty dialog laid out in twips, centred on the
// screen, and labels that act like links.
#include <windows.h>

#include <string_view>

#include "window/main_window.h"

namespace floppex {

struct TwipsRect {
    double left, top, width, height;
};

// Runs a modal dialog owned by the main window, with a fixed tool-window frame and caption; its
// controls are added by proc on WM_INITDIALOG. Returns what EndDialog was given.
INT_PTR RunModalDialog(MainWindow& window, std::wstring_view caption, DLGPROC proc, void* state);

// Gives the dialog a client area of the size in twips, whatever its frame, and centres it.
void FitClientAndCentre(const MainWindow& window, HWND dialog, double widthTwips, double heightTwips);

HWND AddControl(const MainWindow& window, HWND dialog, const wchar_t* className, std::wstring_view text,
                DWORD style, int id, const TwipsRect& place, HFONT font);

// The window's face and size at normal weight, for the dialogs' texts: Wine draws the small bold
// face wider than it measures it, so wrapped, centred and shortened texts would run past their labels.
HFONT CreateDialogFont(HFONT windowFont);

// The font underlined, for labels that are clicked.
HFONT CreateUnderlinedFont(HFONT font);

// On WM_SETCURSOR: the pointing hand over the clickable label under the pointer. True when the
// dialog procedure should return TRUE.
bool ShowHandOverClickable(HWND dialog, HWND under, std::initializer_list<int> clickableIds);

}  // namespace floppex
