#pragma once
// Which files the open dialog and a drop on the list take, and how the open dialog's answer
// and a dropped file list are read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace floppex {

inline constexpr std::wstring_view kOpenFilter =
    L"All Files|*.*|D64 Files|*.d64|T64 Files|*.t64|PRG Files|*.prg|P00 Files|*.p00|Lynx Files|*.lnx|"
    L"Lha Archives|*.lha|Zip Archives|*.zip|GZip Archives|*.gz|"
    L"Other C64 Files|*.d71;*.d81;*.g64;*.x64;*.crt;*.tap";

// Explorer style and no read-only box; several files only when several windows are allowed.
constexpr uint32_t OpenDialogFlags(bool multipleWindows) { return multipleWindows ? 0x80204u : 0x80004u; }
// Choosing a program: no read-only box, the file must exist, long names.
inline constexpr uint32_t kBrowseFlags = 0x201004u;
// The open dialog's name buffer, in characters, which bounds a multiple selection.
inline constexpr size_t kOpenBufferLength = 32000;

// "Description|pattern|..." as the common dialogs take it: each part ended by a 0 character and
// the whole by a second one.
std::wstring DialogFilter(std::wstring_view barSeparated);

// A disk, tape, cartridge, PRG, P00 to P09 or archive name: the types that opening lists or unpacks.
bool IsSupportedGameFile(std::wstring_view path);

struct OpenSelection {
    std::wstring folder;              // several files: the folder as the dialog gave it
    std::vector<std::wstring> paths;  // full paths, in the dialog's order
    bool several = false;
};

// The open dialog's name buffer: one full path, or a folder and the names of several files, each
// ended by a 0 character, the whole by two. Empty names are passed over; a folder ending in "\"
// gets no second one.
OpenSelection ReadOpenResult(std::wstring_view buffer);

// A dropped file list (the DROPFILES block of the file-list format): its first path, in UTF-16
// or in the system code page. Nothing when the block is too short or names no file.
struct DroppedName {
    bool wide = true;
    std::wstring wideName;
    std::string codePageName;
};
std::optional<DroppedName> FirstDroppedName(std::span<const std::byte> block);

enum class DropOutcome { Open, DataTypeNotSupported, FileNotSupported };

// What a drop does: the data must be a file list, and only its first file counts.
DropOutcome JudgeDrop(bool offersFileList, std::wstring_view firstPath);

}  // namespace floppex
