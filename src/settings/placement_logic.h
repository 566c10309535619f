#pragma once
// Where the main window opens, from the stored placement (all values in twips).
namespace floppex {

struct StoredPlacement {
    double top = -1, left = -1, height = -1;  // -1 each when nothing is stored
};

struct ScreenAndWindow {
    double screenWidth = 0, screenHeight = 0;
    double windowWidth = 0, windowHeight = 0;  // the size the window has before it is placed
};

struct Placement {
    double top = 0, left = 0, height = 0;
};

// The first window goes to the stored place when it lies on the screen, else to the centre; a
// further window goes to a random place (r1, r2 in [0, 1)) where it fits on the screen. Without a
// stored height on the screen the window keeps the height start-up gave it.
Placement ResolvePlacement(const StoredPlacement& stored, const ScreenAndWindow& screen, bool firstInstance,
                           double r1, double r2);

}  // namespace floppex
