#pragma once
// What a launch reads, remembers and starts, decided from the played file's name and the
// emulator's index alone.
#include <string>
#include <string_view>

#include "c64/file_type.h"
#include "window/emulator_catalogue.h"

namespace floppex {

// What the user is told when the reader of the played file cannot read it; empty for a type
// that has no reader.
std::wstring ReadFailureMessage(std::wstring_view gameFileName);

// The remembered entry is written for every played file but .PRG and .P00.
bool RemembersEntry(std::wstring_view gameFileName);

// A stored default emulator may hold any number; only 0 to 15 address a program path, and
// anything else is refused before a file is checked, unpacked or remembered.
LaunchOperation LaunchOperationFor(int emu);

inline constexpr std::wstring_view kUnsupportedEmulatorMessage = L"PC64 Dos is not supported yet!";

}  // namespace floppex
