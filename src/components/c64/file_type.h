#pragma once
// The one place where a file's type is told from its name: by the end of the name only, ASCII
// letters compared in upper case (the last four characters, the last three for ".GZ").
#include <string>
#include <string_view>

namespace floppex {

enum class FileType {
    Disk,       // .D64, and the other disks listed the same way: .D71, .D81, .G64, .X64
    Tape,       // .T64
    Program,    // .PRG
    PcFirst,    // .P00
    PcOther,    // .P01 to .P09: the number only tells files of one name apart
    Cartridge,  // .CRT
    RawTape,    // .TAP: the tape's pulses as recorded
    Archive,    // .LHA, .LZH, .ZIP, .LNX, .GZ: unpacked first
    Other,
};

FileType FileTypeOf(std::string_view name);
FileType FileTypeOf(std::wstring_view name);

// The three letters after the last dot, upper-cased, for messages ("D81"); empty without them.
std::wstring FormatTag(std::wstring_view name);
// The format a read error names: a disk's own tag ("D81"), else T64, Pxx, PRG, CRT or TAP; empty
// for an archive or another file.
std::wstring ReadErrorTag(FileType type, std::wstring_view name);

// Listed and played as they are, without unpacking.
constexpr bool IsListable(FileType type) { return type != FileType::Archive && type != FileType::Other; }
constexpr bool IsPcFile(FileType type) { return type == FileType::PcFirst || type == FileType::PcOther; }
// One program and nothing to choose: played at once, its entry never remembered.
constexpr bool IsSingleProgram(FileType type) { return type == FileType::Program || type == FileType::PcFirst; }

}  // namespace floppex
