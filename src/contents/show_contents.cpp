// Lists what a C64 game file holds: columns, rows, the info line and the preselected entry.
#include "contents/show_contents.h"

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "c64/file_type.h"
#include "contents/list_view.h"
#include "contents/listing_logic.h"
#include "listing/c64_listing.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/text.h"

namespace floppex {

namespace {

// One row of texts, the first in the first column.
void AppendRowOf(HWND list, const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    AppendRow(list, Widen(texts.front()));
    const int row = RowCount(list);
    for (size_t column = 1; column < texts.size(); ++column)
        SetSubItem(list, row, static_cast<int>(column), Widen(texts[column]));
}

// A .d64's free blocks are its capacity less the entries' blocks; the other disks' come from
// their own BAM.
std::wstring BlocksFreeRow(const C64Listing& listing) {
    if (listing.format != "d64") return std::to_wstring(listing.blocksFree.value_or(0)) + L" Blocks Free";
    int64_t blocksUsed = 0;
    for (const ListingEntry& entry : listing.entries) blocksUsed += entry.blocks;
    return BlocksFreeText(listing.fileBytes, blocksUsed);
}

// The listing's columns, info line and rows; a disk's free blocks and what cut a file short each
// under blank rows.
void Fill(MainWindow& window, const C64Listing& listing) {
    HWND list = window.lvGame;
    ClearRows(list);
    ClearColumns(list);
    for (const ListingColumn& column : listing.columns) AddColumn(window, std::wstring(column.heading), column.widthTwips);
    SetWindowTextW(window.lblInfo, Widen(listing.info).c_str());
    for (const std::vector<std::string>& row : listing.rows) AppendRowOf(list, row);
    if (listing.type == FileType::Disk) {
        AppendRow(list, L"");
        AppendRow(list, L"");
        AppendRow(list, BlocksFreeRow(listing));
    }
    if (!listing.problem.empty()) {
        AppendRow(list, L"");
        AppendRow(list, Widen(listing.problem));
    }
}

// True unless the file was of a listable type and could not be read.
bool ListByType(MainWindow& window, const std::wstring& path) {
    const FileType type = FileTypeOf(path);
    if (!IsListable(type)) return true;
    const C64File file = OpenC64File(std::filesystem::path(path), type);
    if (!file.listing) {
        Tell(window.hwnd, L"Error reading from " + file.tag);
        return false;
    }
    Fill(window, *file.listing);
    return true;
}

// Drawing back on while the list is still hidden: its scroll range and layout are worked out once
// for all the rows, and before a row is scrolled into view. Where the default handling of
// WM_SETREDRAW marks a hidden window visible, the mark is taken off again, so that ShowWindow
// still shows the list properly.
void RedrawListAgain(HWND list) {
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    if (style & WS_VISIBLE) SetWindowLongPtrW(list, GWL_STYLE, style & ~WS_VISIBLE);
}

}  // namespace

void ShowContents(MainWindow& window, std::wstring path) {
    SetWindowTextW(window.lblFilename, Helper().GetFileName(path).c_str());
    // Rebuilt hidden and out of use, so that neither painting nor the user sees half a list; and
    // without drawing, so that each row added does not invalidate the list and recompute its
    // scroll bars and header.
    window.listing = true;
    ShowWindow(window.lvGame, SW_HIDE);
    EnableWindow(window.lvGame, FALSE);
    SendMessageW(window.lvGame, WM_SETREDRAW, FALSE, 0);
    bool listingOk = false;
    try {
        listingOk = ListByType(window, path);
    } catch (const std::exception&) {
        Tell(window.hwnd, L"Error reading the file");
    }
    RedrawListAgain(window.lvGame);
    if (listingOk) {
        EnableWindow(window.cmdPlay, TRUE);
        if (const int rows = RowCount(window.lvGame); rows > 0) SelectRow(window.lvGame, RowToSelect(window.gameIndex, rows));
    } else {
        EnableWindow(window.cmdPlay, FALSE);
        ResetView(window);
    }
    EnableWindow(window.lvGame, TRUE);
    ShowWindow(window.lvGame, SW_SHOW);
    window.listing = false;
}

void ResetView(MainWindow& window) {
    EnableWindow(window.cmdPlay, FALSE);
    SetWindowTextW(window.lblFilename, kNoGameLoaded.data());
    SetWindowTextW(window.lblInfo, kRightClickToLoad.data());
    ListView_DeleteAllItems(window.lvGame);
    ShowWindow(window.lvGame, SW_SHOW);
    window.requestPath.clear();
}

}  // namespace floppex
