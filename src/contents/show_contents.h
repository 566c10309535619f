#pragma once
// The contents view: what a C64 game file holds, or the empty view.
#include <optional>
#include <string>
#include <vector>

#include "c64/petscii.h"

#include "window/main_window.h"

namespace floppex {

// Lists the file at path by its type: columns, rows, the info line and the remembered entry
// selected. A file that cannot be read is told about and leaves the empty view.
void ShowContents(MainWindow& window, std::wstring path);
// The list's rows for a listing, texts in the C64 face of the set given or else the window's own:
// its table, then for a disk two blank rows and its free blocks, and what cut the file short under
// a blank row.
std::vector<std::vector<std::wstring>> TableRows(const C64Listing& listing, std::optional<petscii::CharSet> face);
// The listing shown drawn again after the C64 face was switched, the chosen entry still selected.
void ShowAgainInChosenFace(MainWindow& window);
// The empty view: "No Game Loaded", no rows, Play disabled, no file requested.
void ResetView(MainWindow& window);

}  // namespace floppex
