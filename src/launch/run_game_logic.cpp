#include "launch/run_game_logic.h"

namespace floppex {

std::wstring ReadFailureMessage(std::wstring_view gameFileName) {
    const std::wstring tag = ReadErrorTag(FileTypeOf(gameFileName), gameFileName);
    if (tag.empty()) return L"";
    // The launcher names PC64 files by the first of their kind.
    return L"There was an error reading from the " + (tag == L"Pxx" ? std::wstring(L"P00") : tag) + L" file!";
}

bool RemembersEntry(std::wstring_view gameFileName) { return !IsSingleProgram(FileTypeOf(gameFileName)); }

LaunchOperation LaunchOperationFor(int emu) {
    if (emu >= 0 && emu < kEmulatorCount) return kEmulators[static_cast<size_t>(emu)].launch;
    return emu >= kEmulatorCount && emu < kProgramPathCount ? LaunchOperation::None : LaunchOperation::Refused;
}

}  // namespace floppex
