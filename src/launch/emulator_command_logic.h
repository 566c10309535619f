#pragma once
// What an emulator is given to start a game: the chosen entry's C64 name and VICE's arguments,
// shared by the window's launcher and floppex-cli so that both start a game the same way; and
// the quoting of one argument of a Windows command line.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "c64/file_type.h"

namespace floppex {

using NativeString = std::filesystem::path::string_type;
using NativeStringView = std::basic_string_view<NativeString::value_type>;

// The name passed with the 0-based entry gameIndex of the file at path (see NamedEntryItem; a
// P00 file passes its own name), as c1541 lists it: "" when none is passed (a cartridge or a raw
// tape is started whole), nothing when the file cannot be read.
std::optional<std::string> LaunchEntryName(FileType type, const std::filesystem::path& path, int32_t gameIndex);

// VICE's arguments for a game: -autostart and the game's path, with ":" and the entry's name after
// it when one is named (VICE splits at the last colon and loads that entry instead of the first).
std::vector<NativeString> ViceArguments(NativeStringView gamePath, NativeStringView entryName);

// One argument as the Windows command-line splitter reads it back: in quotes, with quotes and the
// backslashes in front of them escaped.
std::wstring QuotedArgument(std::wstring_view argument);

}  // namespace floppex
