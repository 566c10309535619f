#pragma once
// The eleven supported emulators and the archiver: index, names, where their paths are stored and
// how each is started.
#include <array>
#include <cstdint>
#include <string_view>

namespace floppex {

// How a program of the catalogue is started on a game (see ProgramLauncher).
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

struct EmulatorInfo {
    std::wstring_view menuCaption;   // entry of the Play button's popup menu
    std::wstring_view listCaption;   // entry of the options dialog's list
    std::wstring_view registryValue; // value under the paths key holding the program's path
    LaunchOperation launch;
};

inline constexpr std::array<EmulatorInfo, kEmulatorCount> kEmulators{{
    {L"CCS64 v1.09", L"CCS64 v1.09", L"CCS64v109Path", LaunchOperation::Ccs64},
    {L"CCS64 v2.0 (Dos)", L"CCS64 v2.0 (Dos)", L"CCS64v20DosPath", LaunchOperation::Ccs64v2},
    {L"CCS64 v2.0 (Win)", L"CCS64 v2.0 (Win)", L"CCS64v20WinPath", LaunchOperation::Ccs64v2},
    {L"VICE", L"VICE", L"VICEv0161Path", LaunchOperation::Vice},
    {L"WinVICE", L"WinVICE", L"WinVICEv0161Path", LaunchOperation::Vice},
    {L"C64S v2.52", L"C64S v2.52", L"C64Sv252Path", LaunchOperation::C64s},
    {L"Win64", L"Win64", L"Win64PROPath", LaunchOperation::Win64},
    {L"PC64 v1.22 (Dos)", L"PC64 v1.22 (Dos)", L"PC64Dosv122Path", LaunchOperation::Unsupported},
    {L"PC64 c2.14 (Win)", L"PC64 v2.14 (Win)", L"PC64Winv214Path", LaunchOperation::Pc64Win},
    {L"Come Back 64 v0.9a", L"Come Back 64 v0.99", L"ComeBack64v099Path", LaunchOperation::ComeBack64},
    {L"Frodo v4.1.1 (Load Only)", L"Frodo-Win32 v4.1.1", L"FrodoWin32v411Path", LaunchOperation::Frodo},
}};

inline constexpr std::wstring_view kArchiverRegistryValue = L"WinZipPath";

}  // namespace floppex
