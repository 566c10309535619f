#pragma once
// Game files are recognised by the end of their name only, compared upper-cased.
#include <string>
#include <string_view>

namespace floppex {

// The last n characters of text (all of it when shorter), with ASCII letters upper-cased.
std::wstring UpperTail(std::wstring_view text, size_t n);

enum class FileClass {
    Listable,  // .D64, .T64, .PRG, .P00 to .P09: listed as they are
    Archive,   // .LHA, .ZIP, .LZH, .LNX, .GZ: unpacked first
    Other,
};

FileClass ClassifyGameFile(std::wstring_view name);
bool IsArchiveName(std::wstring_view name);

// ".P00" to ".P09", given the upper-cased last four characters.
bool IsPcExtension(std::wstring_view ext4);

// .PRG and .P00 hold a single program: no entry is chosen or remembered for them.
bool IsSingleProgramName(std::wstring_view name);

}  // namespace floppex
