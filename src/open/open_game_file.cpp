// Opens the requested file by its type: lists it, unpacks it first, or refuses it.
#include "open/open_game_file.h"

#include <string>

#include "c64/file_type.h"
#include "contents/show_contents.h"
#include "open/disk_set_view.h"
#include "open/unpack_archive.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/topmost.h"
#include "window/window_services.h"

namespace floppex {

namespace {

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

// The caption names the archive and the pointer is an hourglass while it is unpacked.
Unpacked UnpackShowingProgress(MainWindow& window, const std::wstring& path, const std::wstring& name) {
    const std::wstring caption = WindowText(window.hwnd);
    SetWindowTextW(window.hwnd, (L"Extracting " + name).c_str());
    window.busy = true;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    PumpPendingMessages(window);
    const Unpacked result = UnpackArchive(path, "Floppex");
    window.busy = false;
    SetCursor(previous);
    if (window.hwnd) SetWindowTextW(window.hwnd, caption.c_str());
    PumpPendingMessages(window);
    return result;
}

void OpenArchive(MainWindow& window, const std::wstring& path, const std::wstring& name) {
    const Unpacked result = UnpackShowingProgress(window, path, name);
    if (window.unloaded) return;
    if (result.success) {
        TakeArchiveSet(window, path, result);
        if (!window.diskSet.paths.empty()) return ShowSetDisk(window, window.diskSet.shown);
        window.gamePath = result.extractedPath;
        ShowContents(window, result.extractedPath);
        return;
    }
    window.gamePath.clear();
    Tell(window.hwnd, result.errorText);
    ResetView(window);
}

}  // namespace

void OpenGameFile(MainWindow& window) {
    SuspendTopmost(window);
    const std::wstring path = window.requestPath;
    std::wstring folder, name;
    Helper().SplitPath(path, folder, name);
    window.diskSet = {};
    if (!Helper().CheckFile(path, true, L"Floppex")) {
        ResetView(window);
    } else if (IsListable(FileTypeOf(name))) {
        if (FileTypeOf(name) == FileType::Disk) FindFolderSet(window, path);
        window.gamePath = path;
        if (!window.diskSet.paths.empty()) ShowSetDisk(window, window.diskSet.shown);
        else ShowContents(window, path);
    } else if (FileTypeOf(name) == FileType::Archive) {
        OpenArchive(window, path, name);
    } else {
        window.gamePath.clear();
        TellPlain(window.hwnd, L"File type not supported");
        ResetView(window);
    }
    if (!window.unloaded) RestoreTopmost(window);
}

}  // namespace floppex
