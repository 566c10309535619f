#pragma once
// Reads a list view of another process: rows, sub-items, column headers and the selection.
#include <windows.h>

#include <string>
#include <vector>

namespace floppex::e2e {

class ListViewReader {
public:
    explicit ListViewReader(HWND list) : list_(list) {}

    int RowCount() const;
    std::wstring Text(int row, int column) const;
    std::vector<std::wstring> Column(int column) const;
    std::vector<std::wstring> Headers() const;
    // 0-based selected row, -1 when none.
    int SelectedRow() const;
    // Selects one row as a click would (the list reports the change to its owner).
    bool Select(int row) const;

private:
    HWND list_;
};

}  // namespace floppex::e2e
