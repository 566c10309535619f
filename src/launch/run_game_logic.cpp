#include "launch/run_game_logic.h"

#include <limits>


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

std::optional<size_t> NamedEntryItem(FileType type, size_t count, int32_t gameIndex) {
    if (type != FileType::Tape && type != FileType::Disk) return std::nullopt;
    if (type == FileType::Tape && count < 2) return std::nullopt;
    if (gameIndex < 0 || static_cast<size_t>(gameIndex) >= count) return std::nullopt;
    return static_cast<size_t>(gameIndex) + 1;
}

bool RemembersEntry(std::wstring_view gameFileName) { return !IsSingleProgram(FileTypeOf(gameFileName)); }

LaunchOperation LaunchOperationFor(int emu) {
    if (emu >= 0 && emu < kEmulatorCount) return kEmulators[static_cast<size_t>(emu)].launch;
    return emu >= kEmulatorCount && emu < kProgramPathCount ? LaunchOperation::None : LaunchOperation::Refused;
}

int16_t LauncherEntryNumber(int32_t gameIndex) {
    if (gameIndex < 0 || gameIndex > std::numeric_limits<int16_t>::max()) return 0;
    return static_cast<int16_t>(gameIndex);
}

}  // namespace floppex
