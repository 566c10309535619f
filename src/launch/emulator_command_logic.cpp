#include "launch/emulator_command_logic.h"

#include "c64/crt_file.h"
#include "c64/disk_image.h"
#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"
#include "launch/run_game_logic.h"

namespace floppex {

namespace {

template <class Directory>
std::string NameOfItem(const Directory& entries, FileType type, int32_t gameIndex) {
    const auto item = NamedEntryItem(type, entries.Count(), gameIndex);
    return item ? entries.Item(static_cast<int32_t>(*item)).Name().Ascii() : "";
}

}  // namespace

std::optional<std::string> LaunchEntryName(FileType type, const std::filesystem::path& path, int32_t gameIndex) {
    switch (type) {
    case FileType::Tape: {
        T64Image tape;
        if (!tape.Open(path)) return std::nullopt;
        return NameOfItem(tape.Entries(), type, gameIndex);
    }
    case FileType::Disk: {
        DiskImage disk;
        if (!disk.Open(path)) return std::nullopt;
        return NameOfItem(disk.Entries(), type, gameIndex);
    }
    case FileType::PcFirst:
    case FileType::PcOther: {
        P00File program;
        if (!program.Open(path)) return std::nullopt;
        return program.Name().Ascii();
    }
    case FileType::Program: {
        PrgFile program;
        if (!program.Open(path)) return std::nullopt;
        return "";
    }
    case FileType::Cartridge: {
        CrtFile cartridge;
        if (!cartridge.Open(path)) return std::nullopt;
        return "";
    }
    case FileType::RawTape: {
        TapFile tape;
        if (!tape.Open(path)) return std::nullopt;
        return "";
    }
    case FileType::Archive:
    case FileType::Other: break;
    }
    return "";
}

std::vector<NativeString> ViceArguments(NativeStringView gamePath, NativeStringView entryName) {
    constexpr NativeString::value_type kAutostart[] = {'-', 'a', 'u', 't', 'o', 's', 't', 'a', 'r', 't', 0};
    NativeString target(gamePath);
    if (!entryName.empty()) target.append(1, ':').append(entryName);
    return {kAutostart, target};
}

std::wstring QuotedArgument(std::wstring_view argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace floppex
