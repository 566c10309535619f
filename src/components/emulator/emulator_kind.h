#pragma once
// The emulators a game can be started in, by how each is started, and the numbers of the
// program paths that name them.
#include <cstdint>

namespace floppex {

// How a program of the catalogue is started on a game (see EmulatorCommandLine).
enum class LaunchOperation {
    Ccs64,
    Ccs64v2,
    Vice,
    C64s,
    Win64,
    Unsupported,  // PC64 for DOS
    Pc64Win,
    ComeBack64,
    Frodo,    // started without a game
    None,     // program paths 11 to 15: no emulators
    Refused,  // no program index at all
};

enum ProgramIndex : int16_t {
    kEmuCcs64v109 = 0,
    kEmuCcs64v20Dos = 1,
    kEmuCcs64v20Win = 2,
    kEmuVice = 3,
    kEmuWinVice = 4,
    kEmuC64s = 5,
    kEmuWin64 = 6,
    kEmuPc64Dos = 7,
    kEmuPc64Win = 8,
    kEmuComeBack64 = 9,
    kEmuFrodo = 10,
    kEmulatorCount = 11,
    kUnusedProgram12 = 12,
    kUnusedProgram13 = 13,
    kUnusedProgram14 = 14,
    kArchiver = 15,
};

inline constexpr int kProgramPathCount = 16;

}  // namespace floppex
