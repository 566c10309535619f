// Lists what a C64 game file holds: columns, rows, the info line and the preselected entry.
#include "contents/show_contents.h"

#include <commctrl.h>

#include <filesystem>
#include <system_error>

#include "c64/crt_file.h"
#include "c64/disk_image.h"
#include "c64/file_type.h"
#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/size_text.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"
#include "contents/list_view.h"
#include "contents/listing_logic.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/text.h"

namespace floppex {

namespace {

std::wstring Shown(const PetName& name) { return Widen(name.Unicode()); }

void SetInfo(MainWindow& window, const std::wstring& text) { SetWindowTextW(window.lblInfo, text.c_str()); }

// Opens path into reader and empties the list of rows and columns for it; a file that cannot be
// read is reported with `failure`.
template <class Reader>
bool OpenForListing(MainWindow& window, Reader& reader, const std::wstring& path, const wchar_t* failure) {
    if (!reader.Open(std::filesystem::path(path))) {
        Tell(window.hwnd, failure);
        return false;
    }
    ClearRows(window.lvGame);
    ClearColumns(window.lvGame);
    return true;
}

uintmax_t FileLength(const std::wstring& path) {
    std::error_code error;
    const uintmax_t length = std::filesystem::file_size(std::filesystem::path(path), error);
    return error ? 0 : length;
}

// A .d64's free blocks are its capacity less the entries' blocks; the other disks' come from
// their own BAM.
bool ListDisk(MainWindow& window, const std::wstring& path) {
    DiskImage image;
    if (!OpenForListing(window, image, path, (L"Error reading from " + FormatTag(path)).c_str())) return false;
    HWND list = window.lvGame;
    AddColumn(window, L"Filename", 1550);
    AddColumn(window, L"Blks", 630);
    AddColumn(window, L"Type", 750);
    SetInfo(window, Widen(image.HeaderText1() + " " + image.HeaderText2()));
    int row = 1;
    int64_t blocksUsed = 0;
    for (const DiskDirEntry& entry : image.Entries()) {
        AddRow(list, row, Shown(entry.Name()));
        SetSubItem(list, row, 1, Widen(entry.Blocks()));
        SetSubItem(list, row, 2, Widen(entry.FileType()));
        blocksUsed += entry.blockCount;
        ++row;
    }
    AppendRow(list, L"");
    AppendRow(list, L"");
    AppendRow(list, image.Format() == DiskFormat::D64 ? BlocksFreeText(FileLength(path), blocksUsed)
                                                      : std::to_wstring(image.BlocksFree()) + L" Blocks Free");
    return true;
}

bool ListTape(MainWindow& window, const std::wstring& path) {
    T64Image image;
    if (!OpenForListing(window, image, path, L"Error reading from T64")) return false;
    AddColumn(window, L"Filename", 2930);
    SetInfo(window, Widen(image.HeaderText1() + "  " + image.HeaderText2() + "  " +
                          std::to_string(image.HeaderNumber1()) + "/" + std::to_string(image.HeaderNumber2())));
    for (const TapeDirEntry& entry : image.Entries()) AppendRow(window.lvGame, Shown(entry.Name()));
    return true;
}

struct Column {
    const wchar_t* header;
    double widthTwips;
};

// Columns that fill the list's width as a disk's three do.
void AddColumns(MainWindow& window, std::initializer_list<Column> columns) {
    for (const Column& column : columns) AddColumn(window, column.header, column.widthTwips);
}

// One row of texts, the first in the first column.
void AppendRowOf(HWND list, std::initializer_list<std::wstring> texts) {
    AppendRow(list, *texts.begin());
    const int row = RowCount(list);
    int column = 0;
    for (const std::wstring& text : texts)
        if (column++ > 0) SetSubItem(list, row, column - 1, text);
}

// What cut a listing short, under a blank row, where a disk shows its free blocks.
void AppendProblem(HWND list, const std::string& problem) {
    if (problem.empty()) return;
    AppendRow(list, L"");
    AppendRow(list, Widen(problem));
}

// A cartridge lists its chip packets: the bank, where it appears and how big it is.
bool ListCartridge(MainWindow& window, const std::wstring& path) {
    CrtFile file;
    if (!OpenForListing(window, file, path, L"Error reading from CRT")) return false;
    AddColumns(window, {{L"Bank", 550}, {L"Address", 850}, {L"Size", 750}, {L"Chip", 780}});
    SetInfo(window, Widen(file.HeaderText1() + "  " + file.HeaderText2() + "  " + file.ModeText()));
    for (const CartridgeChip& chip : file.Chips())
        AppendRowOf(window.lvGame, {std::to_wstring(chip.bank), Widen(chip.AddressText()), Widen(chip.SizeText()),
                                    Widen(chip.TypeText())});
    AppendProblem(window.lvGame, file.Problem());
    return true;
}

// A raw tape lists the files whose headers the KERNAL's loader would find, or itself as one row.
bool ListRawTape(MainWindow& window, const std::wstring& path) {
    TapFile tape;
    if (!OpenForListing(window, tape, path, L"Error reading from TAP")) return false;
    AddColumns(window, {{L"Filename", 1400}, {L"Type", 450}, {L"Start", 530}, {L"Bytes", 550}});
    SetInfo(window, Widen(tape.HeaderText1() + "  " + tape.HeaderText2()));
    for (const TapeProgram& program : tape.Programs())
        AppendRowOf(window.lvGame, {Shown(program.Name()), Widen(program.TypeText()),
                                    Widen(AddressText(program.startAddress)), std::to_wstring(program.DataSize())});
    if (tape.Programs().empty())
        AppendRowOf(window.lvGame, {Widen(tape.TapeName()), L"", L"", std::to_wstring(tape.FileSize())});
    AppendProblem(window.lvGame, tape.Problem());
    return true;
}

// A single file's listing: one row of two columns under the info line.
void ShowOneRow(MainWindow& window, Column first, Column second, const wchar_t* info, const std::wstring& left,
                const std::wstring& right) {
    AddColumn(window, first.header, first.widthTwips);
    AddColumn(window, second.header, second.widthTwips);
    SetInfo(window, info);
    AppendRow(window.lvGame, left);
    SetSubItem(window.lvGame, 1, 1, right);
}

bool ListPcFile(MainWindow& window, const std::wstring& path) {
    P00File file;
    if (!OpenForListing(window, file, path, L"Error reading from Pxx")) return false;
    ShowOneRow(window, {L"Filename", 1875}, {L"Size(Kb)", 1000}, L"PC64 Pxx File", Shown(file.Name()),
               Widen(file.SizeText()));
    return true;
}

bool ListProgram(MainWindow& window, const std::wstring& path) {
    PrgFile file;
    if (!OpenForListing(window, file, path, L"Error reading from PRG")) return false;
    ShowOneRow(window, {L"Size(Kb)", 1100}, {L"Load Address", 1800}, L"PRG File", Widen(file.SizeText()),
               Widen(file.AddressText1() + " " + file.AddressText2()));
    return true;
}

// True unless the file was of a listable type and could not be read.
bool ListByType(MainWindow& window, const std::wstring& path) {
    switch (FileTypeOf(path)) {
    case FileType::Disk: return ListDisk(window, path);
    case FileType::Tape: return ListTape(window, path);
    case FileType::PcFirst:
    case FileType::PcOther: return ListPcFile(window, path);
    case FileType::Program: return ListProgram(window, path);
    case FileType::Cartridge: return ListCartridge(window, path);
    case FileType::RawTape: return ListRawTape(window, path);
    case FileType::Archive:
    case FileType::Other: break;
    }
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
