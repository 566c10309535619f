#include "contents/list_view.h"

#include <commctrl.h>

#include "window/main_window.h"
#include "window/twips.h"

namespace floppex {

namespace {

// More columns than any listing adds; bounds the clearing loop.
constexpr int kMaxColumns = 64;

}  // namespace

void ClearRows(HWND list) { ListView_DeleteAllItems(list); }

void ClearColumns(HWND list) {
    for (int i = 0; i < kMaxColumns && ListView_DeleteColumn(list, 0); ++i) {
    }
}

void AddColumn(const MainWindow& window, const std::wstring& header, double widthTwips) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = TwipsX(window, widthTwips);
    column.pszText = const_cast<wchar_t*>(header.c_str());
    const int count = Header_GetItemCount(ListView_GetHeader(window.lvGame));
    ListView_InsertColumn(window.lvGame, count < 0 ? 0 : count, &column);
}

void AddRow(HWND list, int position, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = position - 1;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_InsertItem(list, &item);
}

void AppendRow(HWND list, const std::wstring& text) { AddRow(list, RowCount(list) + 1, text); }

void SetSubItem(HWND list, int row, int column, const std::wstring& text) {
    ListView_SetItemText(list, row - 1, column, const_cast<wchar_t*>(text.c_str()));
}

int RowCount(HWND list) { return ListView_GetItemCount(list); }

void SelectRow(HWND list, int row) {
    ListView_SetItemState(list, row - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row - 1, FALSE);
}

}  // namespace floppex
