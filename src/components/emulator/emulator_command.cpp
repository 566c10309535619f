#include "emulator/emulator_command.h"

#include <limits>

#include "emulator/path_parts.h"

namespace floppex {

namespace {

std::wstring FolderOf(std::wstring_view path) { return std::wstring(SplitPathParts(path).folder); }

}  // namespace

std::optional<size_t> NamedEntryItem(FileType type, size_t count, int32_t gameIndex) {
    if (type != FileType::Tape && type != FileType::Disk) return std::nullopt;
    if (type == FileType::Tape && count < 2) return std::nullopt;
    if (gameIndex < 0 || static_cast<size_t>(gameIndex) >= count) return std::nullopt;
    return static_cast<size_t>(gameIndex) + 1;
}

std::string LaunchEntryName(const C64Listing& listing, int32_t gameIndex) {
    if (IsPcFile(listing.type)) return listing.name.text;
    const auto item = NamedEntryItem(listing.type, listing.entries.size(), gameIndex);
    return item ? listing.entries[*item - 1].name.text : "";
}

int16_t LauncherEntryNumber(int32_t gameIndex) {
    if (gameIndex < 0 || gameIndex > std::numeric_limits<int16_t>::max()) return 0;
    return static_cast<int16_t>(gameIndex);
}

template <class Char>
std::vector<std::basic_string<Char>> ViceArguments(std::basic_string_view<Char> gamePath,
                                                   std::basic_string_view<Char> entryName,
                                                   std::basic_string_view<Char> flipList) {
    constexpr Char kAutostart[] = {'-', 'a', 'u', 't', 'o', 's', 't', 'a', 'r', 't', 0};
    constexpr Char kFlipname[] = {'-', 'f', 'l', 'i', 'p', 'n', 'a', 'm', 'e', 0};
    std::basic_string<Char> target(gamePath);
    if (!entryName.empty()) target.append(1, ':').append(entryName);
    std::vector<std::basic_string<Char>> arguments;
    if (!flipList.empty()) arguments = {kFlipname, std::basic_string<Char>(flipList)};
    arguments.insert(arguments.end(), {kAutostart, target});
    return arguments;
}

template std::vector<std::string> ViceArguments(std::string_view, std::string_view, std::string_view);
template std::vector<std::wstring> ViceArguments(std::wstring_view, std::wstring_view, std::wstring_view);

std::string ViceFlipList(const std::vector<std::string>& disks, size_t played) {
    std::string list = "# Vice fliplist file\n\nUNIT 8\n";
    for (size_t i = 0; i < disks.size(); ++i) list += disks[(played + i) % disks.size()] + "\n";
    return list;
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

std::optional<EmulatorCommand> EmulatorCommandLine(LaunchOperation operation, std::wstring_view emulatorPath,
                                                   std::wstring_view gameDir, std::wstring_view gamePath,
                                                   std::wstring_view entryName, int16_t entry,
                                                   std::wstring_view flipList) {
    EmulatorCommand command{QuotedArgument(emulatorPath), FolderOf(emulatorPath)};
    switch (operation) {
    case LaunchOperation::Ccs64:
    case LaunchOperation::Ccs64v2:
        command.commandLine += L" " + QuotedArgument(gamePath);
        if (entry > 0) command.commandLine += L" " + std::to_wstring(entry + 1);
        command.folder = gameDir;
        return command;
    case LaunchOperation::Vice:
        for (const std::wstring& argument : ViceArguments(gamePath, entryName, flipList))
            command.commandLine += L" " + QuotedArgument(argument);
        return command;
    case LaunchOperation::C64s:
        command.commandLine += L" " + QuotedArgument(gamePath);
        if (!entryName.empty()) command.commandLine += L" " + QuotedArgument(entryName);
        return command;
    case LaunchOperation::Win64:
    case LaunchOperation::Pc64Win:
    case LaunchOperation::ComeBack64: command.commandLine += L" " + QuotedArgument(gamePath); return command;
    case LaunchOperation::Frodo: return command;
    case LaunchOperation::Unsupported:
    case LaunchOperation::None:
    case LaunchOperation::Refused: break;
    }
    return std::nullopt;
}

}  // namespace floppex
