#include "driver/message_box.h"

#include "driver/waiting.h"
#include "driver/window_finder.h"

namespace floppex::e2e {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x440;

MessageBoxView Describe(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.caption = TextOf(box);
    if (HWND text = GetDlgItem(box, kTextId)) view.text = TextOf(text);
    if (HWND icon = GetDlgItem(box, kIconId))
        view.hasIcon = IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    return view;
}

}  // namespace

bool MessageBoxView::PressOk() const {
    HWND ok = GetDlgItem(window, IDOK);
    if (!ok) return false;
    PostMessageW(ok, BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid) {
    HWND box = WaitForVisibleWindow(pid, kDialogClass);
    if (!box) return std::nullopt;
    return Describe(box);
}

bool HasMessageBox(DWORD pid) { return HasVisibleWindow(pid, kDialogClass); }

}  // namespace floppex::e2e
