#pragma once
// The main window's keys: which command a key press stands for.
#include <cstdint>

namespace floppex {

enum class KeyCommand { None, Help, ToggleMultiple, ToggleKeepOpen, ToggleOnTop, About, Open, Exit, Copy, NextDisk, PreviousDisk };

struct KeyPress {
    unsigned key = 0;  // virtual-key code
    bool ctrl = false, shift = false, alt = false;
};

// The modifiers must match exactly: F1, F5, F11, F12 alone; A, C, O, X, Page Down and Page Up
// (the next and previous disk of a set) with Ctrl only.
KeyCommand CommandForKey(const KeyPress& press);

}  // namespace floppex
