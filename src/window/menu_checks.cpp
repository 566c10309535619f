#include "window/menu_checks.h"

namespace floppex {

bool IsMenuChecked(const MainWindow& window, int command) {
    return (GetMenuState(window.mnuFile, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetMenuChecked(MainWindow& window, int command, bool checked) {
    CheckMenuItem(window.mnuFile, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace floppex
