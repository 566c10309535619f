#include "settings/placement_logic.h"

#include <cmath>

namespace floppex {

namespace {

// Written as "inside" tests so that a stored NaN counts as off the screen.
bool OnScreen(double value, double extent) { return value >= 0 && value <= extent; }

}  // namespace

Placement ResolvePlacement(const StoredPlacement& stored, const ScreenAndWindow& screen, bool firstInstance,
                           double r1, double r2) {
    Placement place{stored.top, stored.left, stored.height};
    if (!OnScreen(place.top, screen.screenHeight) || !OnScreen(place.left, screen.screenWidth)) {
        place.top = screen.screenHeight / 2 - screen.windowHeight / 2;
        place.left = screen.screenWidth / 2 - screen.windowWidth / 2;
    }
    if (!OnScreen(place.height, screen.screenHeight)) place.height = screen.windowHeight;
    if (!firstInstance) {
        place.left = std::floor((screen.screenWidth - screen.windowWidth + 1) * r1);
        place.top = std::floor((screen.screenHeight - place.height + 1) * r2);
    }
    return place;
}

}  // namespace floppex
