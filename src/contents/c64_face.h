#pragma once
// The program's C64 face in the window: loaded from the program's own resources for this process
// alone, drawn at a whole multiple of 8 pixels without smoothing, in the character set chosen.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "c64/petscii.h"
#include "window/main_window.h"

namespace floppex {

// Loads the face and makes the window's C64 font at the size the list's width and its rows take;
// the window keeps its own face where that fails.
void LoadC64Face(MainWindow& window);

// The character set C64 text is shown in, or nothing when the face is switched off or missing.
std::optional<petscii::CharSet> C64FaceOf(const MainWindow& window);

// Gives the info line the face chosen; the list's rows are drawn in it by OnListCustomDraw, and
// everything else keeps the window's own face.
void UseChosenFace(MainWindow& window);

// Widens the names column of a listing drawn in the C64 face so that a 16-character name fits,
// the other columns as their texts (rows, one character a cell) need, within the list's width.
void FitC64Columns(MainWindow& window, const C64Listing& listing, const std::vector<std::vector<std::wstring>>& rows);

// The list asks how to draw: in the C64 face its rows are drawn here, each text at a cell's margin
// and never cut short by an ellipsis.
LRESULT OnListCustomDraw(const MainWindow& window, NMLVCUSTOMDRAW& draw);

}  // namespace floppex
