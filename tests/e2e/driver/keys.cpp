#include "driver/keys.h"

#include "driver/waiting.h"

namespace floppex::e2e {

namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void PostKey(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

bool TypeCtrlKey(HWND window, WORD virtualKey) {
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; }, 5000)) return false;
    INPUT inputs[] = {KeyInput(VK_CONTROL, false), KeyInput(virtualKey, false), KeyInput(virtualKey, true),
                      KeyInput(VK_CONTROL, true)};
    return SendInput(4, inputs, sizeof(INPUT)) == 4;
}

}  // namespace floppex::e2e
