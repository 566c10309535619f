// Lists what a C64 game file holds: columns, rows, the info line and the preselected entry.
#include "contents/show_contents.h"

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "c64/file_type.h"
#include "contents/c64_face.h"
#include "contents/list_view.h"
#include "contents/listing_logic.h"
#include "listing/c64_listing.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/text.h"

namespace floppex {

namespace {

// The program's own text in the face chosen.
std::wstring OwnText(const std::wstring& text, std::optional<petscii::CharSet> face) {
    const ListingText own{Narrow(text), std::nullopt};
    return Widen(TextOf(std::span(&own, 1), face));
}

// A .d64's free blocks are its capacity less the entries' blocks; the other disks' come from
// their own BAM.
std::wstring BlocksFreeRow(const C64Listing& listing) {
    if (listing.format != "d64") return std::to_wstring(listing.blocksFree.value_or(0)) + L" Blocks Free";
    int64_t blocksUsed = 0;
    for (const ListingEntry& entry : listing.entries) blocksUsed += entry.blocks;
    return BlocksFreeText(listing.fileBytes, blocksUsed);
}

// The listing's columns, info line and rows in the face chosen.
void Fill(MainWindow& window, const C64Listing& listing) {
    HWND list = window.lvGame;
    const std::optional<petscii::CharSet> face = C64FaceOf(window);
    UseChosenFace(window);
    ClearRows(list);
    ClearColumns(list);
    for (const ListingColumn& column : listing.columns) AddColumn(window, std::wstring(column.heading), column.widthTwips);
    SetWindowTextW(window.lblInfo, Widen(TextOf(listing.info, face)).c_str());
    const std::vector<std::vector<std::wstring>> rows = TableRows(listing, face);
    for (const std::vector<std::wstring>& row : rows) {
        AppendRow(list, row.empty() ? L"" : row.front());
        for (size_t column = 1; column < row.size(); ++column)
            SetSubItem(list, RowCount(list), static_cast<int>(column), row[column]);
    }
    if (face) FitC64Columns(window, listing, rows);
}

// The remembered entry's row, or the first.
void SelectRemembered(MainWindow& window) {
    if (const int rows = RowCount(window.lvGame); rows > 0) SelectRow(window.lvGame, RowToSelect(window.gameIndex, rows));
}

// True unless the file was of a listable type and could not be read.
bool ListByType(MainWindow& window, const std::wstring& path) {
    const FileType type = FileTypeOf(path);
    if (!IsListable(type)) return true;
    C64File file = OpenC64File(std::filesystem::path(path), type);
    if (!file.listing) {
        Tell(window.hwnd, L"Error reading from " + file.tag);
        return false;
    }
    window.shown = std::move(file.listing);
    Fill(window, *window.shown);
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

// Shows the list without drawing it there and then: showing a child draws its frame, scroll bar and
// ground at once, and the rows only at the next paint. Marked whole for the next paint instead, the
// list is drawn once, and the window answers before it is.
void ShowListAtNextPaint(HWND list) {
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
        SelectRemembered(window);
    } else {
        EnableWindow(window.cmdPlay, FALSE);
        ResetView(window);
    }
    EnableWindow(window.lvGame, TRUE);
    ShowListAtNextPaint(window.lvGame);
    window.listing = false;
}

std::vector<std::vector<std::wstring>> TableRows(const C64Listing& listing, std::optional<petscii::CharSet> face) {
    std::vector<std::vector<std::wstring>> rows;
    for (const std::vector<ListingText>& texts : listing.rows) {
        std::vector<std::wstring>& row = rows.emplace_back();
        for (const ListingText& text : texts) row.push_back(Widen(TextOf(std::span(&text, 1), face)));
    }
    if (listing.type == FileType::Disk) rows.insert(rows.end(), {{L""}, {L""}, {OwnText(BlocksFreeRow(listing), face)}});
    if (!listing.problem.empty()) rows.insert(rows.end(), {{L""}, {OwnText(Widen(listing.problem), face)}});
    return rows;
}

void ShowAgainInChosenFace(MainWindow& window) {
    if (!window.shown) return UseChosenFace(window);
    SendMessageW(window.lvGame, WM_SETREDRAW, FALSE, 0);
    window.listing = true;
    Fill(window, *window.shown);
    SelectRemembered(window);
    window.listing = false;
    SendMessageW(window.lvGame, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window.lvGame, nullptr, TRUE);
}

void ResetView(MainWindow& window) {
    window.shown.reset();
    SendMessageW(window.lblInfo, WM_SETFONT, reinterpret_cast<WPARAM>(window.font), FALSE);
    EnableWindow(window.cmdPlay, FALSE);
    SetWindowTextW(window.lblFilename, kNoGameLoaded.data());
    SetWindowTextW(window.lblInfo, kRightClickToLoad.data());
    ListView_DeleteAllItems(window.lvGame);
    ShowWindow(window.lvGame, SW_SHOW);
    window.requestPath.clear();
}

}  // namespace floppex
