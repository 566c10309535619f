#pragma once
// What an emulator is given to start a game: the chosen entry's C64 name, VICE's arguments and
// each emulator's whole command line, shared by the window's launcher and floppex-cli so that both
// start a game the same way; and the quoting of one argument of a Windows command line.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "c64/file_type.h"
#include "emulator/emulator_kind.h"
#include "listing/c64_listing.h"

namespace floppex {

using NativeString = std::filesystem::path::string_type;
using NativeStringView = std::basic_string_view<NativeString::value_type>;

// The 1-based item whose name is passed to the emulator, from a collection of `count` entries;
// nothing when no name is passed. A tape of fewer than two entries passes none (the emulator
// loads its only program anyway). An entry beyond the collection, as an old remembered entry of
// a file that has since shrunk can be, passes none either, so the emulator starts the first.
std::optional<size_t> NamedEntryItem(FileType type, size_t count, int32_t gameIndex);

// The name passed with the 0-based entry gameIndex of a listed file (see NamedEntryItem; a P00
// file passes its own name), as c1541 lists it: "" when none is passed (a cartridge or a raw tape
// is started whole).
std::string LaunchEntryName(const C64Listing& listing, int32_t gameIndex);

// The entry number handed to the CCS64 operations, which take 16 bits: an entry beyond that
// cannot exist on any image and is passed as the first one (0).
int16_t LauncherEntryNumber(int32_t gameIndex);

// VICE's arguments for a game: -autostart and the game's path, with ":" and the entry's name after
// it when one is named (VICE splits at the last colon and loads that entry instead of the first);
// before them "-flipname" and the flip list of the game's disk set, when it has one.
// Made for wide strings (the Windows command line) and for the native strings of paths.
template <class Char>
std::vector<std::basic_string<Char>> ViceArguments(std::basic_string_view<Char> gamePath,
                                                   std::basic_string_view<Char> entryName,
                                                   std::basic_string_view<Char> flipList = {});

// VICE's flip list of a disk set, in the form every VICE 3.x reads: the "# Vice fliplist file"
// line, "UNIT 8", one path a line. VICE starts at the list's first disk and its "next disk" goes
// on down the list and round, so the list begins at the disk played: "next" brings the one after it.
std::string ViceFlipList(const std::vector<std::string>& disks, size_t played);

// One argument as the Windows command-line splitter reads it back: in quotes, with quotes and the
// backslashes in front of them escaped.
std::wstring QuotedArgument(std::wstring_view argument);

// An emulator's command line and the folder it starts in.
struct EmulatorCommand {
    std::wstring commandLine;
    std::wstring folder;
};

// How each emulator is started on the game at gamePath (in the folder gameDir) and its entry:
//   Ccs64, Ccs64v2             "emulator" "game" [entry + 1 when entry > 0], in the game's folder
//   Vice                       "emulator" ["-flipname" "list"] "-autostart" "game[:entry name]"
//   C64s                       "emulator" "game" ["entry name"]
//   Win64, Pc64Win, ComeBack64 "emulator" "game"
//   Frodo                      "emulator"
// All but the CCS64 ones start in the emulator's own folder; every argument is quoted by
// QuotedArgument. Nothing for the operations that start no program.
std::optional<EmulatorCommand> EmulatorCommandLine(LaunchOperation operation, std::wstring_view emulatorPath,
                                                   std::wstring_view gameDir, std::wstring_view gamePath,
                                                   std::wstring_view entryName, int16_t entry,
                                                   std::wstring_view flipList = {});

}  // namespace floppex
