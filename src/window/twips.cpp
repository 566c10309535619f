#include "window/twips.h"

#include "window/size_limits_logic.h"

namespace floppex {

int TwipsX(const MainWindow& window, double twips) { return TwipsToPixels(twips, window.twipsPerPixelX); }
int TwipsY(const MainWindow& window, double twips) { return TwipsToPixels(twips, window.twipsPerPixelY); }

}  // namespace floppex
