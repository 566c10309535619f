#pragma once
// What a launch reads, remembers and starts, decided from the played file's name and the
// emulator's index alone.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "c64/file_type.h"
#include "window/emulator_catalogue.h"

namespace floppex {

// What the user is told when the reader of the played file cannot read it; empty for a type
// that has no reader.
std::wstring ReadFailureMessage(std::wstring_view gameFileName);

// The 1-based item whose name is passed to the emulator, from a collection of `count` entries;
// nothing when no name is passed. A tape of fewer than two entries passes none (the emulator
// loads its only program anyway). An entry beyond the collection, as an old remembered entry of
// a file that has since shrunk can be, passes none either, so the emulator starts the first.
std::optional<size_t> NamedEntryItem(FileType type, size_t count, int32_t gameIndex);

// The remembered entry is written for every played file but .PRG and .P00.
bool RemembersEntry(std::wstring_view gameFileName);

// A stored default emulator may hold any number; only 0 to 15 address a program path, and
// anything else is refused before a file is checked, unpacked or remembered.
LaunchOperation LaunchOperationFor(int emu);

inline constexpr std::wstring_view kUnsupportedEmulatorMessage = L"PC64 Dos is not supported yet!";

// The entry number handed to the CCS64 operations, which take 16 bits: an entry beyond that
// cannot exist on any image and is passed as the first one (0).
int16_t LauncherEntryNumber(int32_t gameIndex);

}  // namespace floppex
