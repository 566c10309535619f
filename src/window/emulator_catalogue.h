#pragma once
// The eleven supported emulators and the archiver: names, where their paths are stored and how
// each is started.
#include <array>
#include <string_view>

#include "emulator/emulator_kind.h"

namespace floppex {

struct EmulatorInfo {
    std::wstring_view menuCaption;   // entry of the Play button's popup menu
    std::wstring_view listCaption;   // entry of the options dialog's list
    std::wstring_view registryValue; // value under the paths key holding the program's path
    LaunchOperation launch;
    std::wstring_view browseTitle;   // the Open box that asks for the program's file
    std::wstring_view browseFilter;  // its filter: description and patterns, separated by "|"
};

inline constexpr std::array<EmulatorInfo, kEmulatorCount> kEmulators{{
    {L"CCS64 v1.09", L"CCS64 v1.09", L"CCS64v109Path", LaunchOperation::Ccs64,
     L"Select ccs64.exe...", L"Ccs64.exe|ccs64.exe"},
    {L"CCS64 v2.0 (Dos)", L"CCS64 v2.0 (Dos)", L"CCS64v20DosPath", LaunchOperation::Ccs64v2,
     L"Select ccs64.exe...", L"Ccs64.exe|ccs64.exe"},
    {L"CCS64 v2.0 (Win)", L"CCS64 v2.0 (Win)", L"CCS64v20WinPath", LaunchOperation::Ccs64v2,
     L"Select ccs.exe...", L"Ccs.exe|ccs.exe"},
    // Today's VICE ships x64sc.exe instead of x64.exe: both are offered.
    {L"VICE", L"VICE", L"VICEv0161Path", LaunchOperation::Vice,
     L"Select x64.exe...", L"X64.exe/X64sc.exe|x64.exe;x64sc.exe"},
    {L"WinVICE", L"WinVICE", L"WinVICEv0161Path", LaunchOperation::Vice,
     L"Select x64.exe...", L"X64.exe/X64sc.exe|x64.exe;x64sc.exe"},
    {L"C64S v2.52", L"C64S v2.52", L"C64Sv252Path", LaunchOperation::C64s,
     L"Select C64S.exe...", L"C64S.exe|c64s.exe"},
    {L"Win64", L"Win64", L"Win64PROPath", LaunchOperation::Win64,
     L"Select Win64.exe...", L"Win64.exe|win64.exe"},
    {L"PC64 v1.22 (Dos)", L"PC64 v1.22 (Dos)", L"PC64Dosv122Path", LaunchOperation::Unsupported,
     L"Select PC64.exe...", L"PC64.exe|pc64.exe"},
    {L"PC64 c2.14 (Win)", L"PC64 v2.14 (Win)", L"PC64Winv214Path", LaunchOperation::Pc64Win,
     L"Select PC64Win.exe...", L"PC64Win.exe|pc64win.exe"},
    {L"Come Back 64 v0.9a", L"Come Back 64 v0.99", L"ComeBack64v099Path", LaunchOperation::ComeBack64,
     L"Select CB64.exe...", L"CB64.exe|cb64.exe"},
    {L"Frodo v4.1.1 (Load Only)", L"Frodo-Win32 v4.1.1", L"FrodoWin32v411Path", LaunchOperation::Frodo,
     L"Select Frodo version...", L"Frodo.exe/Frodopc.exe/Frodosc.exe|frodo.exe;frodopc.exe;frodosc.exe"},
}};

inline constexpr std::wstring_view kArchiverRegistryValue = L"WinZipPath";
inline constexpr std::wstring_view kArchiverBrowseTitle = L"Select Winzip32.exe...";
inline constexpr std::wstring_view kArchiverBrowseFilter = L"Winzip32.exe|winzip32.exe";

}  // namespace floppex
