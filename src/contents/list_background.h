#pragma once
// The picture tiled behind the contents list's rows.
#include "window/main_window.h"

namespace floppex {

void SetListBackground(MainWindow& window);

}  // namespace floppex
