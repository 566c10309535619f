#pragma once
// Starting an emulator on the listed game.
#include <cstdint>

#include "window/main_window.h"

namespace floppex {

// Starts emulator number emu on window.gamePath (unpacked first when it is an archive) with the
// chosen entry, and remembers that entry. A number that addresses no program is refused with a
// message before anything is checked, unpacked or remembered.
void RunGame(MainWindow& window, int16_t emu);

}  // namespace floppex
