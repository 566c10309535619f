// Floppex.exe: the main window is the program; its message loop runs until it is unloaded.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/command_line_logic.h"
#include "app/main_window_proc.h"
#include "app/message_loop.h"
#include "app/startup.h"
#include "window/window_services.h"

namespace floppex {

namespace {

void InitCommonControlsOnce() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
}

// The program's own path in the forms a command line may name it by: as loaded, long and short.
std::vector<std::wstring> OwnPaths() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    std::vector<std::wstring> paths{std::wstring(buffer.data(), length)};
    for (const auto convert : {GetLongPathNameW, GetShortPathNameW}) {
        const DWORD converted = convert(paths.front().c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (converted > 0 && converted < buffer.size()) paths.emplace_back(buffer.data(), converted);
    }
    return paths;
}

int RunProgram(HINSTANCE instance) {
    InitCommonControlsOnce();
    SetWindowServices({ShutDown, DispatchPendingMessages});
    if (!RegisterMainWindowClass(instance)) return 1;
    MainWindow window;
    if (!CreateMainWindow(instance, window)) return 1;
    // Only a bare program name needs the program's own paths to find its end; the short form is
    // found by listing folders, so a quoted name, as programs start programs, does without them.
    const wchar_t* const commandLine = GetCommandLineW();
    const std::vector<std::wstring> ownPaths = commandLine[0] == L'"' ? std::vector<std::wstring>{} : OwnPaths();
    if (Startup(window, CommandTail(commandLine, ownPaths)) == StartOutcome::HandedOver) {
        DestroyWindow(window.hwnd);
        return 0;
    }
    return RunMessageLoop(window, AfterStart(window));
}

}  // namespace

}  // namespace floppex

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return floppex::RunProgram(instance); }
