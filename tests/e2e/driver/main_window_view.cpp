#include "driver/main_window_view.h"

#include "app/control_ids.h"
#include "driver/waiting.h"
#include "driver/window_finder.h"

namespace floppex::e2e {

std::wstring MainWindowView::Caption() const { return TextOf(window_); }
std::wstring MainWindowView::FileLabel() const { return TextOf(ChildById(window_, ids::kLblFilename)); }
std::wstring MainWindowView::InfoLabel() const { return TextOf(ChildById(window_, ids::kLblInfo)); }
bool MainWindowView::PlayEnabled() const { return IsWindowEnabled(PlayButton()) != 0; }
HWND MainWindowView::List() const { return ChildById(window_, ids::kLvGame); }
HWND MainWindowView::PlayButton() const { return ChildById(window_, ids::kCmdPlay); }

bool MainWindowView::WaitForFileLabel(const std::wstring& text) const {
    return WaitUntil([&] { return FileLabel() == text; }) && Sync();
}

bool MainWindowView::Sync() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0;
}

HWND WaitForMainWindow(DWORD pid) { return WaitForVisibleWindow(pid, kMainWindowClass); }

}  // namespace floppex::e2e
