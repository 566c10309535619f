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

std::string_view DiskFormatName(DiskFormat format) {
    switch (format) {
        case DiskFormat::D64: break;
        case DiskFormat::D71: return "d71";
        case DiskFormat::D81: return "d81";
        case DiskFormat::G64: return "g64";
        case DiskFormat::X64: return "x64";
    }
    return "d64";
}

}  // namespace floppex::cli
