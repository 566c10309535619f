#include "app/window_hooks.h"

#include "app/instance_handoff.h"
#include "window/main_window.h"
#include "window/module_state.h"

namespace floppex {

namespace {

LRESULT CALLBACK MessageHookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC next = Module().procBeforeMessageHook;
    if (message == WM_COPYDATA) {
        auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (window && !window->unloaded) return ReceiveRequest(*window, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        Module().procBeforeMessageHook = nullptr;
    }
    return CallWindowProcW(next, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const ModuleState& module = Module();
    if (message == WM_GETMINMAXINFO && lParam) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {module.sizeLimits.minTrackWidth, module.sizeLimits.minTrackHeight};
        info->ptMaxTrackSize = {module.sizeLimits.maxTrackWidth, module.sizeLimits.maxTrackHeight};
        return 0;
    }
    return CallWindowProcW(module.previousWindowProc, hwnd, message, wParam, lParam);
}

}  // namespace

void AttachMessageHook(HWND window) {
    Module().procBeforeMessageHook = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MessageHookProc)));
}

void HookWindow(HWND window) {
    Module().previousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWindowProc)));
}

void UnhookWindow(HWND window) {
    ModuleState& module = Module();
    if (!module.previousWindowProc) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(module.previousWindowProc));
    module.previousWindowProc = nullptr;
}

}  // namespace floppex
