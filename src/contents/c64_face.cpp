// The program's C64 face in the window.
#include "contents/c64_face.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "contents/listing_logic.h"
#include "window/control_ids.h"
#include "window/menu_checks.h"

namespace floppex {

namespace {

constexpr int kC64FaceResource = 10;  // as floppex.rc numbers it
constexpr wchar_t kC64FaceName[] = L"Floppex C64";
constexpr size_t kNameCells = 16;
constexpr int kHeaderMargin = 12;  // the header's own room beside its text

// The face from the program's resources, for this process alone; false when it cannot be had.
bool AddFaceFromResources() {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kC64FaceResource), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD fonts = 0;
    return bytes && AddFontMemResourceEx(bytes, SizeofResource(nullptr, found), nullptr, &fonts) && fonts > 0;
}

// The face at `cell` pixels, or null when the system would give another face for its name.
HFONT CreateC64Font(int cell) {
    LOGFONTW font{};
    font.lfHeight = -cell;  // the em is the cell
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = NONANTIALIASED_QUALITY;
    wcsncpy(font.lfFaceName, kC64FaceName, LF_FACESIZE - 1);
    HFONT made = CreateFontIndirectW(&font);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, made);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    if (made && std::wstring(face) == kC64FaceName) return made;
    if (made) DeleteObject(made);
    return nullptr;
}

// The list's width for columns, a vertical scroll bar's room always kept free.
int ListPixels(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    return client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
}

// The height of the list's rows, which its own face sets.
int RowPixels(const MainWindow& window) {
    HDC dc = GetDC(window.lvGame);
    const HGDIOBJ previous = SelectObject(dc, window.font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window.lvGame, dc);
    return metrics.tmHeight;
}

int HeaderPixels(const MainWindow& window, std::wstring_view heading) {
    HDC dc = GetDC(window.lvGame);
    const HGDIOBJ previous = SelectObject(dc, window.font);
    SIZE size{};
    GetTextExtentPoint32W(dc, heading.data(), static_cast<int>(heading.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window.lvGame, dc);
    return size.cx + kHeaderMargin;
}

// Column `column` of a row as the list holds it.
std::wstring ItemText(HWND list, int item, int column) {
    std::array<wchar_t, 512> text{};
    ListView_GetItemText(list, item, column, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

void LoadC64Face(MainWindow& window) {
    if (!AddFaceFromResources()) return;
    window.c64Cell = std::min(C64CellPixels(ListPixels(window.lvGame)), std::max(8, RowPixels(window) / 8 * 8));
    window.c64Font = CreateC64Font(window.c64Cell);
}

std::optional<petscii::CharSet> C64FaceOf(const MainWindow& window) {
    if (!window.c64Font || !IsMenuChecked(window, ids::kMnuC64Font)) return std::nullopt;
    return IsMenuChecked(window, ids::kMnuC64LowerCase) ? petscii::CharSet::LowerCase : petscii::CharSet::UpperCase;
}

void UseChosenFace(MainWindow& window) {
    const HFONT info = C64FaceOf(window) ? window.c64Font : window.font;
    SendMessageW(window.lblInfo, WM_SETFONT, reinterpret_cast<WPARAM>(info), TRUE);
}

void FitC64Columns(MainWindow& window, const C64Listing& listing, const std::vector<std::vector<std::wstring>>& rows) {
    const int columns = static_cast<int>(listing.columns.size());
    const int names = columns > 0 && listing.columns[0].heading == L"Filename" ? 0 : -1;
    std::vector<int> needs;
    for (int column = 0; column < columns; ++column) {
        size_t cells = column == names ? kNameCells : 0;
        for (const std::vector<std::wstring>& row : rows)
            if (column != names && static_cast<size_t>(column) < row.size()) cells = std::max(cells, row[column].size());
        needs.push_back(std::max(static_cast<int>(cells) * window.c64Cell + kC64CellMargin,
                                 HeaderPixels(window, listing.columns[column].heading)));
    }
    const std::vector<int> widths = FitColumns(needs, names, ListPixels(window.lvGame));
    for (int column = 0; column < columns; ++column) ListView_SetColumnWidth(window.lvGame, column, widths[column]);
}

LRESULT OnListCustomDraw(const MainWindow& window, NMLVCUSTOMDRAW& draw) {
    if (!C64FaceOf(window)) return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const HWND list = window.lvGame;
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    const HDC dc = draw.nmcd.hdc;
    const bool selected = ListView_GetItemState(list, item, LVIS_SELECTED) != 0;
    RECT row{};
    ListView_GetItemRect(list, item, &row, LVIR_BOUNDS);
    if (selected) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ previous = SelectObject(dc, window.c64Font);
    for (int column = 0, left = row.left; column < Header_GetItemCount(ListView_GetHeader(list)); ++column) {
        const int width = ListView_GetColumnWidth(list, column);
        const RECT cell{left, row.top, left + width, row.bottom};
        const std::wstring text = ItemText(list, item, column);
        ExtTextOutW(dc, left + kC64CellMargin / 2, row.top + (row.bottom - row.top - window.c64Cell) / 2, ETO_CLIPPED, &cell,
                    text.c_str(), static_cast<UINT>(text.size()), nullptr);
        left += width;
    }
    SelectObject(dc, previous);
    if ((ListView_GetItemState(list, item, LVIS_FOCUSED) != 0) && GetFocus() == list) DrawFocusRect(dc, &row);
    return CDRF_SKIPDEFAULT;
}

}  // namespace floppex
