#pragma once
// The few list view operations the listing needs, with widths in twips.
#include <windows.h>

#include <string>

namespace floppex {

struct MainWindow;

void ClearRows(HWND list);
void ClearColumns(HWND list);
void AddColumn(const MainWindow& window, const std::wstring& header, double widthTwips);
// Inserts a row at 1-based position (appends when position is past the end).
void AddRow(HWND list, int position, const std::wstring& text);
void AppendRow(HWND list, const std::wstring& text);
// column 1 is the second column.
void SetSubItem(HWND list, int row, int column, const std::wstring& text);
int RowCount(HWND list);
// Marks the 1-based row selected and focused and scrolls it into view.
void SelectRow(HWND list, int row);

}  // namespace floppex
