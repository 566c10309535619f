#include "open/file_type_logic.h"

#include <array>

namespace floppex {

std::wstring UpperTail(std::wstring_view text, size_t n) {
    std::wstring tail(text.size() > n ? text.substr(text.size() - n) : text);
    for (auto& c : tail)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return tail;
}

bool IsPcExtension(std::wstring_view ext4) {
    return ext4.size() == 4 && ext4.substr(0, 3) == L".P0" && ext4[3] >= L'0' && ext4[3] <= L'9';
}

bool IsArchiveName(std::wstring_view name) {
    static constexpr std::array<std::wstring_view, 4> kFourCharacter{L".LHA", L".ZIP", L".LZH", L".LNX"};
    const std::wstring ext4 = UpperTail(name, 4);
    for (auto ext : kFourCharacter)
        if (ext4 == ext) return true;
    return UpperTail(name, 3) == L".GZ";
}

FileClass ClassifyGameFile(std::wstring_view name) {
    const std::wstring ext4 = UpperTail(name, 4);
    if (ext4 == L".T64" || ext4 == L".D64" || ext4 == L".PRG" || IsPcExtension(ext4)) return FileClass::Listable;
    return IsArchiveName(name) ? FileClass::Archive : FileClass::Other;
}

bool IsSingleProgramName(std::wstring_view name) {
    const std::wstring ext4 = UpperTail(name, 4);
    return ext4 == L".P00" || ext4 == L".PRG";
}

}  // namespace floppex
