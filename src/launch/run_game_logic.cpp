#include "launch/run_game_logic.h"

namespace floppex {

std::wstring ReadFailureMessage(std::wstring_view gameFileName) {
    switch (FileTypeOf(gameFileName)) {
    case FileType::Tape: return L"There was an error reading from the T64 file!";
    case FileType::Disk: return L"There was an error reading from the " + FormatTag(gameFileName) + L" file!";
    case FileType::PcFirst:
    case FileType::PcOther: return L"There was an error reading from the P00 file!";
    case FileType::Program: return L"There was an error reading from the PRG file!";
    case FileType::Cartridge: return L"There was an error reading from the CRT file!";
    case FileType::RawTape: return L"There was an error reading from the TAP file!";
    case FileType::Archive:
    case FileType::Other: break;
    }
    return L"";
}

bool RemembersEntry(std::wstring_view gameFileName) { return !IsSingleProgram(FileTypeOf(gameFileName)); }

LaunchOperation LaunchOperationFor(int emu) {
    if (emu >= 0 && emu < kEmulatorCount) return kEmulators[static_cast<size_t>(emu)].launch;
    return emu >= kEmulatorCount && emu < kProgramPathCount ? LaunchOperation::None : LaunchOperation::Refused;
}

}  // namespace floppex
