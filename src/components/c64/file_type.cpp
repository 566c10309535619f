#include "c64/file_type.h"

#include <string>

namespace floppex {

namespace {

// The last n characters, ASCII letters upper-cased, as plain bytes (others become '?').
template <class Char>
std::string UpperTail(std::basic_string_view<Char> name, size_t n) {
    const auto tail = name.substr(name.size() > n ? name.size() - n : 0);
    std::string upper;
    for (const Char c : tail) {
        const auto code = static_cast<unsigned long>(static_cast<std::make_unsigned_t<Char>>(c));
        upper += code >= 'a' && code <= 'z' ? static_cast<char>(code - 'a' + 'A') : code < 0x80 ? static_cast<char>(code) : '?';
    }
    return upper;
}

template <class Char>
FileType TypeOf(std::basic_string_view<Char> name) {
    const std::string ext = UpperTail(name, 4);
    if (ext == ".D64" || ext == ".D71" || ext == ".D81" || ext == ".G64" || ext == ".X64") return FileType::Disk;
    if (ext == ".T64") return FileType::Tape;
    if (ext == ".PRG") return FileType::Program;
    if (ext == ".P00") return FileType::PcFirst;
    if (ext == ".CRT") return FileType::Cartridge;
    if (ext == ".TAP") return FileType::RawTape;
    if (ext.size() == 4 && ext.starts_with(".P0") && ext[3] >= '1' && ext[3] <= '9') return FileType::PcOther;
    if (ext == ".LHA" || ext == ".LZH" || ext == ".ZIP" || ext == ".LNX" || UpperTail(name, 3) == ".GZ")
        return FileType::Archive;
    return FileType::Other;
}

}  // namespace

FileType FileTypeOf(std::string_view name) { return TypeOf(name); }
FileType FileTypeOf(std::wstring_view name) { return TypeOf(name); }

std::wstring FormatTag(std::wstring_view name) {
    if (name.size() < 4 || name[name.size() - 4] != L'.') return L"";
    const std::string tag = UpperTail(name, 3);
    return {tag.begin(), tag.end()};
}

std::wstring ReadErrorTag(FileType type, std::wstring_view name) {
    switch (type) {
        case FileType::Disk: return FormatTag(name);
        case FileType::Tape: return L"T64";
        case FileType::PcFirst:
        case FileType::PcOther: return L"Pxx";
        case FileType::Program: return L"PRG";
        case FileType::Cartridge: return L"CRT";
        case FileType::RawTape: return L"TAP";
        case FileType::Archive:
        case FileType::Other: break;
    }
    return L"";
}

}  // namespace floppex
