#pragma once
// The main window: its controls and the state of the listed file.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listing/c64_listing.h"
#include "window/request_queue_logic.h"

namespace floppex {

// Every instance's title and the main window's caption once start-up has set it; a second start
// finds the running window by this caption.
inline constexpr std::wstring_view kAppTitle = L"Floppex!";
// The caption the window is created with, so that a start never finds its own window.
inline constexpr std::wstring_view kInitialCaption = L"Floppex";
inline constexpr std::wstring_view kWindowClass = L"ThunderRT6FormDC";

// The disks of the set that the listed disk is one of, in order; no paths when it is one of none.
struct DiskSet {
    std::vector<std::wstring> paths;  // listed and played: the files beside the opened one, or unpacked
    std::vector<std::wstring> names;  // each disk's own file name (in the archive, for unpacked ones)
    std::wstring archiveName;         // the archive's file name, when the set came out of one
    size_t shown = 0;
    size_t refused = 0;               // the disks of a set too large to play whole, until told
};

struct MainWindow {
    HWND hwnd = nullptr;
    HWND lblFilename = nullptr, lblInfo = nullptr, lvGame = nullptr, cmdPlay = nullptr;
    HMENU mnuFile = nullptr;        // the window's popup menu
    HMENU pmnuEmulators = nullptr;  // the Play button's popup menu
    HFONT font = nullptr;
    HFONT c64Font = nullptr;  // the program's C64 face; null where it could not be loaded
    int c64Cell = 8;          // its character cell in pixels
    int twipsPerPixelX = 15, twipsPerPixelY = 15;

    std::wstring requestPath;  // as last requested; for an archive the archive
    std::wstring gamePath;     // the file listed and played
    int32_t gameIndex = 0;     // 0-based chosen entry
    std::optional<C64Listing> shown;  // the listing in the list, to show again in the other face
    std::wstring gameIndexFile;
    DiskSet diskSet;

    bool listing = false;   // rows are being rebuilt: selection changes are not the user's
    bool unloaded = false;  // shut-down has run; the window is going away
    bool busy = false;      // an archive is being unpacked: the pointer stays an hourglass
    bool acceptsDrops = false;  // OLE is started and the list is a drop target
    RequestQueue requests;      // the request being handled and those handed over meanwhile
};

// Where a path chosen or dropped in the window is handed on: the request handling, which the
// program's start-up passes down to the floors that take paths from the user.
using RequestHandler = void (*)(MainWindow& window, std::wstring request);

}  // namespace floppex
