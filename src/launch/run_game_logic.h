#pragma once
// What a launch reads, remembers and starts, decided from the played file's name and the
// emulator's index alone.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace floppex {

// The reader that gives the C64 name of the chosen entry, by the upper-cased end of the name.
enum class EntryNameSource { Tape, Disk, PcFile, Program, None };
EntryNameSource EntryNameSourceFor(std::wstring_view gameFileName);

// What the user is told when the reader cannot read the file; empty for None.
std::wstring_view ReadFailureMessage(EntryNameSource source);

// The 1-based item whose name is passed to the emulator, from a collection of `count` entries;
// nothing when no name is passed. A tape of fewer than two entries passes none (the emulator
// loads its only program anyway). An entry beyond the collection, as an old remembered entry of
// a file that has since shrunk can be, passes none either, so the emulator starts the first.
std::optional<size_t> NamedEntryItem(EntryNameSource source, size_t count, int32_t gameIndex);

// The remembered entry is written for every played file but .PRG and .P00.
bool RemembersEntry(std::wstring_view gameFileName);

enum class LaunchOperation {
    Ccs64,       // 0
    Ccs64v2,     // 1, 2
    Vice,        // 3, 4
    C64s,        // 5
    Win64,       // 6
    Unsupported, // 7: PC64 for DOS
    Pc64Win,     // 8
    ComeBack64,  // 9
    Frodo,       // 10: started without a game
    None,        // 11 to 15: programs that are no emulators
    Refused,     // no program index at all
};

// A stored default emulator may hold any number; only 0 to 15 address a program path, and
// anything else is refused before a file is checked, unpacked or remembered.
LaunchOperation LaunchOperationFor(int emu);

inline constexpr std::wstring_view kUnsupportedEmulatorMessage = L"PC64 Dos is not supported yet!";

// The entry number handed to the CCS64 operations, which take 16 bits: an entry beyond that
// cannot exist on any image and is passed as the first one (0).
int16_t LauncherEntryNumber(int32_t gameIndex);

}  // namespace floppex
