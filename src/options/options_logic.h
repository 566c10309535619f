#pragma once
// The options dialog's decisions: which list entry opens selected and whether OK may store the
// chosen default emulator.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace floppex {

// The path labels show this for an empty path.
inline constexpr std::wstring_view kPathPlaceholder = L"Not Set - Click to change";

// The list position that a stored default emulator selects. A value that names no emulator (only
// a changed registry value can hold one) selects the first entry.
int ListPositionForDefault(int16_t defaultEmu);

enum class DefaultVerdict {
    Accept,          // store the selected emulator
    SelectOnlyOne,   // select the one emulator that has a path, then store it
    Refuse,          // several others have paths: the user must choose
};

struct DefaultCheck {
    DefaultVerdict verdict;
    int emulator;  // the emulator to store
};

// OK's check of the default emulator: only a selected emulator without a path is questioned,
// and only by whether the other emulators' paths are set, not whether their files exist.
DefaultCheck CheckDefaultEmulator(std::span<const std::wstring> emulatorPaths, int selected);

}  // namespace floppex
