#include "cli/file_kind.h"

namespace floppex::cli {

FileType KindOf(const std::filesystem::path& file) { return FileTypeOf(file.filename().native()); }

std::string_view KindName(FileType kind) {
    switch (kind) {
        case FileType::Disk: return "d64";
        case FileType::Tape: return "t64";
        case FileType::PcFirst:
        case FileType::PcOther: return "p00";
        case FileType::Program: return "prg";
        case FileType::Cartridge: return "crt";
        case FileType::RawTape: return "tap";
        case FileType::Archive: return "archive";
        case FileType::Other: break;
    }
    return "unknown";
}

}  // namespace floppex::cli
