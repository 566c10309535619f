// Starting an emulator on the listed game.
#include <windows.h>

#include "app/main_window.h"
#include "app/module_state.h"

namespace floppex {

// For now: checks that the emulator and the game file exist (each check reports a missing file
// itself); emulators are not started yet.
void RunGame(MainWindow& window, int16_t emu) {
    if (emu < 0 || emu >= kProgramPathCount) return;
    const std::wstring emulatorPath = Module().programPaths[emu].path;
    const std::wstring gamePath = window.gamePath;
    if (!Helper().CheckFile(emulatorPath, true, kAppTitle)) return;
    Helper().CheckFile(gamePath, true, kAppTitle);
}

}  // namespace floppex
