// What the main window's menu entries, keys and Play button do.
#include "app/main_commands.h"

#include "about/about_box.h"
#include "app/key_logic.h"
#include "components/system/program_launcher.h"
#include "contents/copy_directory.h"
#include "contents/show_contents.h"
#include "launch/handle_request.h"
#include "launch/run_game.h"
#include "open/disk_set_view.h"
#include "open/open_dialog.h"
#include "options/options_dialog.h"
#include "settings/settings_store.h"
#include "window/control_ids.h"
#include "window/menu_checks.h"
#include "window/module_state.h"
#include "window/topmost.h"
#include "window/window_services.h"

namespace floppex {

namespace {

void PlayWith(MainWindow& window, int16_t emu) {
    RunGame(window, emu);
    if (!window.unloaded && !IsMenuChecked(window, ids::kMnuKeepOpen)) Unload(window);
}

void ToggleSwitch(MainWindow& window, int command, void (*save)(MainWindow&)) {
    SetMenuChecked(window, command, !IsMenuChecked(window, command));
    save(window);
}

bool IsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void ShowHelp(MainWindow& window) {
    SuspendTopmost(window);
    const std::wstring helpFile = Module().appDir + L"Floppex.txt";
    if (Helper().CheckFile(helpFile, true, kAppTitle)) ProgramLauncher().OpenDocument(helpFile, window.hwnd);
    if (!window.unloaded) RestoreTopmost(window);
}

}  // namespace

void OnCommand(MainWindow& window, int id) {
    if (id == ids::kCmdPlay || id == IDOK) {
        if (IsWindowEnabled(window.cmdPlay)) PlayWith(window, Module().defaultEmu);
    } else if (id >= ids::kPmnuEmuFirst && id < ids::kPmnuEmuFirst + kEmulatorCount) {
        PlayWith(window, static_cast<int16_t>(id - ids::kPmnuEmuFirst));
    } else if (id == ids::kMnuOpen) {
        ShowOpenDialog(window, HandleRequest);
    } else if (id == ids::kMnuOnTop) {
        ToggleSwitch(window, id, ApplyOnTop);
    } else if (id == ids::kMnuKeepOpen) {
        ToggleSwitch(window, id, SaveKeepOpen);
    } else if (id == ids::kMnuMult) {
        ToggleSwitch(window, id, SaveMultiple);
    } else if (id == ids::kMnuC64Font || id == ids::kMnuC64LowerCase) {
        ToggleSwitch(window, id, SaveC64Face);
        ShowAgainInChosenFace(window);
    } else if (id == ids::kMnuCopyDirectory) {
        CopyDirectory(window);
    } else if (id == ids::kMnuHelp) {
        ShowHelp(window);
    } else if (id == ids::kMnuOptions) {
        ShowOptions(window);
    } else if (id == ids::kMnuAbout) {
        ShowAbout(window);
    } else if (id == ids::kMnuExit) {
        Unload(window);
    }
}

// A second window's greyed switch entries still toggle from their keys.
bool OnKeyDown(MainWindow& window, UINT key) {
    switch (CommandForKey({key, IsDown(VK_CONTROL), IsDown(VK_SHIFT), IsDown(VK_MENU)})) {
    case KeyCommand::Help: ShowHelp(window); return true;
    case KeyCommand::ToggleMultiple: ToggleSwitch(window, ids::kMnuMult, SaveMultiple); return true;
    case KeyCommand::ToggleKeepOpen: ToggleSwitch(window, ids::kMnuKeepOpen, SaveKeepOpen); return true;
    case KeyCommand::ToggleOnTop: ToggleSwitch(window, ids::kMnuOnTop, ApplyOnTop); return true;
    case KeyCommand::Exit: Unload(window); return true;
    case KeyCommand::About: ShowAbout(window); return true;
    case KeyCommand::Open: ShowOpenDialog(window, HandleRequest); return true;
    case KeyCommand::Copy: CopyDirectory(window); return true;
    case KeyCommand::NextDisk: StepDisk(window, 1); return true;
    case KeyCommand::PreviousDisk: StepDisk(window, -1); return true;
    case KeyCommand::None: return false;
    }
    return false;
}

}  // namespace floppex
