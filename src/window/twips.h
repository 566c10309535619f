#pragma once
// Places and sizes are designed in twips; the window turns them into pixels at its resolution.
#include "window/main_window.h"

namespace floppex {

int TwipsX(const MainWindow& window, double twips);
int TwipsY(const MainWindow& window, double twips);

}  // namespace floppex
