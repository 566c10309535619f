#include "launch/run_game_logic.h"

#include <limits>

#include "open/file_type_logic.h"

namespace floppex {

EntryNameSource EntryNameSourceFor(std::wstring_view gameFileName) {
    const std::wstring ext = UpperTail(gameFileName, 4);
    if (ext == L".T64") return EntryNameSource::Tape;
    if (ext == L".D64") return EntryNameSource::Disk;
    if (IsPcExtension(ext)) return EntryNameSource::PcFile;
    if (ext == L".PRG") return EntryNameSource::Program;
    return EntryNameSource::None;
}

std::wstring_view ReadFailureMessage(EntryNameSource source) {
    switch (source) {
    case EntryNameSource::Tape: return L"There was an error reading from the T64 file!";
    case EntryNameSource::Disk: return L"There was an error reading from the D64 file!";
    case EntryNameSource::PcFile: return L"There was an error reading from the P00 file!";
    case EntryNameSource::Program: return L"There was an error reading from the PRG file!";
    case EntryNameSource::None: break;
    }
    return L"";
}

std::optional<size_t> NamedEntryItem(EntryNameSource source, size_t count, int32_t gameIndex) {
    if (source != EntryNameSource::Tape && source != EntryNameSource::Disk) return std::nullopt;
    if (source == EntryNameSource::Tape && count < 2) return std::nullopt;
    if (gameIndex < 0 || static_cast<size_t>(gameIndex) >= count) return std::nullopt;
    return static_cast<size_t>(gameIndex) + 1;
}

bool RemembersEntry(std::wstring_view gameFileName) { return !IsSingleProgramName(gameFileName); }

LaunchOperation LaunchOperationFor(int emu) {
    switch (emu) {
    case 0: return LaunchOperation::Ccs64;
    case 1:
    case 2: return LaunchOperation::Ccs64v2;
    case 3:
    case 4: return LaunchOperation::Vice;
    case 5: return LaunchOperation::C64s;
    case 6: return LaunchOperation::Win64;
    case 7: return LaunchOperation::Unsupported;
    case 8: return LaunchOperation::Pc64Win;
    case 9: return LaunchOperation::ComeBack64;
    case 10: return LaunchOperation::Frodo;
    }
    return emu >= 11 && emu <= 15 ? LaunchOperation::None : LaunchOperation::Refused;
}

int16_t LauncherEntryNumber(int32_t gameIndex) {
    if (gameIndex < 0 || gameIndex > std::numeric_limits<int16_t>::max()) return 0;
    return static_cast<int16_t>(gameIndex);
}

}  // namespace floppex
