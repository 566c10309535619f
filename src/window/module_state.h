#pragma once
// State shared by the whole program, set at start and alive for the whole run.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "window/size_limits_logic.h"
#include "window/emulator_catalogue.h"
#include "components/system/window_helper.h"

namespace floppex {

struct ProgramPath {
    std::wstring path;   // full path of the program; empty when not configured
    bool valid = false;  // path named an existing file at the last check
};

struct ModuleState {
    std::wstring appDir;   // the program's folder, always ending in "\"
    std::wstring dataDir;  // where Floppex.ini and the working file go: appDir when it can be
                           // written, else the user's own "Floppex" application-data folder
    bool firstInstance = true;
    bool multipleWindows = false;
    std::array<ProgramPath, kProgramPathCount> programPaths;
    int16_t defaultEmu = 0;
    std::wstring lastOpenPath;
    int32_t lastFilterIndex = 0;

    SizeLimits sizeLimits;
    WNDPROC previousWindowProc = nullptr;   // the main window's procedure before MainWindowProc
    WNDPROC procBeforeMessageHook = nullptr;  // the procedure the hand-off hook passes messages to

    std::unique_ptr<WindowHelper> windowHelper;
};

ModuleState& Module();

// The WindowHelper instance; after its release at shut-down a stateless stand-in answers the
// few calls a message arriving late may still make.
const WindowHelper& Helper();

}  // namespace floppex
