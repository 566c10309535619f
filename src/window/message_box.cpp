#include "window/message_box.h"

#include <string>

#include "window/main_window.h"

namespace floppex {

namespace {

void Show(HWND owner, std::wstring_view text, UINT style) {
    MessageBoxW(owner, std::wstring(text).c_str(), kAppTitle.data(), MB_OK | style);
}

}  // namespace

void Tell(HWND owner, std::wstring_view text) { Show(owner, text, MB_ICONINFORMATION); }
void TellPlain(HWND owner, std::wstring_view text) { Show(owner, text, 0); }
void Warn(HWND owner, std::wstring_view text) { Show(owner, text, MB_ICONEXCLAMATION); }

}  // namespace floppex
