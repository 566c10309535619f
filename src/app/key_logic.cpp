#include "app/key_logic.h"

namespace floppex {

namespace {

// Virtual-key codes, as the system numbers them.
constexpr unsigned kF1 = 0x70, kF5 = 0x74, kF11 = 0x7A, kF12 = 0x7B, kPageUp = 0x21, kPageDown = 0x22;

}  // namespace

KeyCommand CommandForKey(const KeyPress& press) {
    if (!press.ctrl && !press.shift && !press.alt) {
        switch (press.key) {
        case kF1: return KeyCommand::Help;
        case kF5: return KeyCommand::ToggleMultiple;
        case kF11: return KeyCommand::ToggleKeepOpen;
        case kF12: return KeyCommand::ToggleOnTop;
        }
    }
    if (press.ctrl && !press.shift && !press.alt) {
        switch (press.key) {
        case 'A': return KeyCommand::About;
        case 'C': return KeyCommand::Copy;
        case 'O': return KeyCommand::Open;
        case 'X': return KeyCommand::Exit;
        case kPageDown: return KeyCommand::NextDisk;
        case kPageUp: return KeyCommand::PreviousDisk;
        }
    }
    return KeyCommand::None;
}

}  // namespace floppex
