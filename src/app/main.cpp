// Floppex.exe: the main window is the program; its message loop runs until it is unloaded.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/command_line_logic.h"
#include "app/main_window.h"

namespace floppex {

namespace {

void InitCommonControlsOnce() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
}

int RunProgram(HINSTANCE instance) {
    InitCommonControlsOnce();
    if (!RegisterMainWindowClass(instance)) return 1;
    MainWindow window;
    if (!CreateMainWindow(instance, window)) return 1;
    if (Startup(window, CommandTail(GetCommandLineW())) == StartOutcome::HandedOver) {
        DestroyWindow(window.hwnd);
        return 0;
    }
    return RunMessageLoop(window);
}

}  // namespace

}  // namespace floppex

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = floppex::RunProgram(instance);
    CoUninitialize();
    return result;
}
