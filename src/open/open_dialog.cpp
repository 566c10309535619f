// The open dialog and the hand-on of the files chosen in it.
#include "open/open_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/system/process_starter.h"
#include "components/system/registry_store.h"
#include "open/file_choice_logic.h"
#include "settings/registry_keys.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/topmost.h"

namespace floppex {

namespace {

// Read afresh each time: another window may have changed it.
bool MultipleWindowsAllowed() {
    bool multiple = false;
    RegistryStore().ReadValue(kMachineHive, kWindowKey, L"Multiple", multiple, false, false);
    return multiple;
}

void TellNotSupported(const MainWindow& window) { TellPlain(window.hwnd, L"File-type not yet supported!"); }

// A new Floppex process for one file, started from the program's folder. The path follows the
// program unquoted: the new process takes everything after its own name as the request.
bool StartNewWindow(const std::wstring& path) {
    const std::wstring& appDir = Module().appDir;
    const std::wstring program = appDir + L"Floppex.exe";
    SetCurrentDirectoryW(appDir.c_str());
    return StartProcess({program, program + L" " + path, {}, SW_SHOWNORMAL}).Started();
}

// One file: listed here, or in a new window when several windows are allowed.
bool OpenOne(MainWindow& window, RequestHandler handOn, const std::wstring& path, bool multiple) {
    std::wstring folder, name;
    Helper().SplitPath(path, folder, name);
    Module().lastOpenPath = folder;
    if (!IsSupportedGameFile(path)) {
        TellNotSupported(window);
        return true;
    }
    if (multiple) return StartNewWindow(path);
    handOn(window, path);
    return true;
}

// Several files: each in a window of its own; none replaces this window's file.
bool OpenSeveral(MainWindow& window, const OpenSelection& selection) {
    Module().lastOpenPath = selection.folder;
    for (const std::wstring& path : selection.paths) {
        if (!IsSupportedGameFile(path)) {
            TellNotSupported(window);
        } else if (!StartNewWindow(path)) {
            return false;
        }
    }
    return true;
}

void SaveOpenSettings(const ModuleState& module) {
    const RegistryStore store;
    store.WriteValue(kMachineHive, kPathsKeyUpper, L"LastOpenPath", module.lastOpenPath, true);
    store.WriteValue(kMachineHive, kIntegersKeyUpper, L"LastFilterIndex", module.lastFilterIndex, false);
}

}  // namespace

void ShowOpenDialog(MainWindow& window, RequestHandler handOn) {
    ModuleState& module = Module();
    const std::wstring filter = DialogFilter(kOpenFilter);
    std::vector<wchar_t> names(kOpenBufferLength, L'\0');
    OPENFILENAMEW box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = window.hwnd;
    box.lpstrFilter = filter.c_str();
    box.nFilterIndex = static_cast<DWORD>(std::max(module.lastFilterIndex, int32_t{0}));
    box.lpstrFile = names.data();
    box.nMaxFile = static_cast<DWORD>(names.size());
    box.lpstrInitialDir = module.lastOpenPath.c_str();
    box.lpstrTitle = L"Open C64 File(s)...";
    box.Flags = OpenDialogFlags(MultipleWindowsAllowed());

    SuspendTopmost(window);
    const bool chosen = GetOpenFileNameW(&box) != FALSE;
    if (!window.unloaded) RestoreTopmost(window);
    if (!chosen || window.unloaded) return;

    module.lastFilterIndex = static_cast<int32_t>(box.nFilterIndex);
    const OpenSelection selection = ReadOpenResult(std::wstring_view(names.data(), names.size()));
    if (selection.paths.empty()) return;
    const bool opened = selection.several ? OpenSeveral(window, selection)
                                          : OpenOne(window, handOn, selection.paths.front(), MultipleWindowsAllowed());
    if (opened) SaveOpenSettings(module);
}

}  // namespace floppex
