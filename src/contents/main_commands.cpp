// What the main window's menu entries, keys and Play button do.
#include <windows.h>

#include "about/about_box.h"
#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/module_state.h"
#include "components/system/program_launcher.h"
#include "contents/key_logic.h"
#include "open/open_dialog.h"
#include "options/options_dialog.h"

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

}  // namespace

void ShowHelp(MainWindow& window) {
    SuspendTopmost(window);
    const std::wstring helpFile = Module().appDir + L"Floppex.txt";
    if (Helper().CheckFile(helpFile, true, kAppTitle)) ProgramLauncher().OpenDocument(helpFile, window.hwnd);
    if (!window.unloaded) RestoreTopmost(window);
}

void OnCommand(MainWindow& window, int id) {
    if (id == ids::kCmdPlay || id == IDOK) {
        if (IsWindowEnabled(window.cmdPlay)) PlayWith(window, Module().defaultEmu);
    } else if (id >= ids::kPmnuEmuFirst && id < ids::kPmnuEmuFirst + kEmulatorCount) {
        PlayWith(window, static_cast<int16_t>(id - ids::kPmnuEmuFirst));
    } else if (id == ids::kMnuOpen) {
        ShowOpenDialog(window);
    } else if (id == ids::kMnuOnTop) {
        ToggleSwitch(window, id, ApplyOnTop);
    } else if (id == ids::kMnuKeepOpen) {
        ToggleSwitch(window, id, SaveKeepOpen);
    } else if (id == ids::kMnuMult) {
        ToggleSwitch(window, id, SaveMultiple);
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
    case KeyCommand::Open: ShowOpenDialog(window); return true;
    case KeyCommand::None: return false;
    }
    return false;
}

}  // namespace floppex
