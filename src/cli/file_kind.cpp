#include "cli/file_kind.h"

#include <string>

namespace floppex::cli {

namespace {

std::string LowerExtension(const std::filesystem::path& file) {
    std::string ext;
    for (char8_t c : file.extension().u8string()) {
        char ch = static_cast<char>(c);
        ext += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    }
    return ext;
}

}  // namespace

FileKind KindOf(const std::filesystem::path& file) {
    const std::string ext = LowerExtension(file);
    if (ext == ".d64") return FileKind::D64;
    if (ext == ".t64") return FileKind::T64;
    if (ext == ".prg") return FileKind::Prg;
    if (ext.size() == 4 && ext.compare(0, 3, ".p0") == 0 && ext[3] >= '0' && ext[3] <= '9') return FileKind::P00;
    if (ext == ".lha" || ext == ".lzh" || ext == ".zip" || ext == ".lnx" || ext == ".gz") return FileKind::Archive;
    return FileKind::Unknown;
}

std::string_view KindName(FileKind kind) {
    switch (kind) {
        case FileKind::D64: return "d64";
        case FileKind::T64: return "t64";
        case FileKind::P00: return "p00";
        case FileKind::Prg: return "prg";
        case FileKind::Archive: return "archive";
        case FileKind::Unknown: break;
    }
    return "unknown";
}

}  // namespace floppex::cli
