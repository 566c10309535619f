// The message loop: keys reach the window before the control that has the focus.
#include "app/message_loop.h"

#include "app/main_commands.h"

namespace floppex {

namespace {

bool IsKeyForWindow(const MainWindow& window, const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && window.hwnd &&
           (message.hwnd == window.hwnd || IsChild(window.hwnd, message.hwnd));
}

void Dispatch(MainWindow& window, MSG& message) {
    if (IsKeyForWindow(window, message) && OnKeyDown(window, static_cast<UINT>(message.wParam))) return;
    if (window.hwnd && IsDialogMessageW(window.hwnd, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(MainWindow& window, const IdleSteps& idleSteps) {
    bool idleWork = true;
    MSG message;
    for (;;) {
        // Peeking runs the messages sent to the window, and finds a paint still owed.
        while (idleWork && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) idleWork = idleSteps();
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        Dispatch(window, message);
    }
    while (idleWork) idleWork = idleSteps();
    return 0;
}

bool DispatchPendingMessages(MainWindow& window) {
    // Bounded, so that a flood of posted messages cannot hold the caller here.
    MSG message;
    for (int count = 0; count < 10000 && !window.unloaded && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++count) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Dispatch(window, message);
    }
    return !window.unloaded;
}

}  // namespace floppex
