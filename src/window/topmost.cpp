#include "window/topmost.h"

#include "window/control_ids.h"
#include "window/menu_checks.h"
#include "window/module_state.h"

namespace floppex {

void SuspendTopmost(MainWindow& window) {
    if (IsMenuChecked(window, ids::kMnuOnTop)) Helper().SetTopmost(false, window.hwnd);
}

void RestoreTopmost(MainWindow& window) {
    if (IsMenuChecked(window, ids::kMnuOnTop)) Helper().SetTopmost(true, window.hwnd);
}

}  // namespace floppex
