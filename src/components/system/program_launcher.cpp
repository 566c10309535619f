#include "components/system/program_launcher.h"

#include <shellapi.h>

#include <vector>

#include "components/system/path_parts.h"
#include "launch/emulator_command_logic.h"

namespace floppex {

namespace {

std::wstring FolderOf(std::wstring_view path) { return std::wstring(SplitPathParts(path).folder); }

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' ')) result.pop_back();
    return result;
}

// Starts the emulator with the arguments after its own quoted path; does not wait for it.
std::wstring Start(std::wstring_view emulatorPath, const std::wstring& arguments, std::wstring_view folder) {
    std::wstring commandLine = QuotedArgument(emulatorPath) + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    const std::wstring program(emulatorPath), directory(folder);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return L"Could not start " + program + L":\n" + SystemErrorText(GetLastError());
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return L"";
}

std::wstring StartCcs64(std::wstring_view emulatorPath, std::wstring_view gameDir, std::wstring_view gamePath,
                        int16_t entry) {
    std::wstring arguments = L" " + QuotedArgument(gamePath);
    if (entry > 0) arguments += L" " + std::to_wstring(entry + 1);
    return Start(emulatorPath, arguments, gameDir);
}

}  // namespace

void ProgramLauncher::OpenDocument(std::wstring_view document, HWND owner) const {
    const std::wstring target(document);
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ProgramLauncher::RunCCS64(std::wstring_view emulatorPath, std::wstring_view gameDir, std::wstring_view gamePath,
                               int16_t entry, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t,
                               std::wstring& message) const {
    message = StartCcs64(emulatorPath, gameDir, gamePath, entry);
}

void ProgramLauncher::RunCCS64v2(std::wstring_view emulatorPath, std::wstring_view gameDir,
                                 std::wstring_view gamePath, int16_t entry, int16_t, int16_t, int16_t, int16_t,
                                 int16_t, int16_t, std::wstring& message) const {
    message = StartCcs64(emulatorPath, gameDir, gamePath, entry);
}

void ProgramLauncher::RunVICE(std::wstring_view emulatorPath, std::wstring_view gamePath,
                              std::wstring_view entryName, int16_t, std::wstring& message) const {
    std::wstring arguments;
    for (const std::wstring& argument : ViceArguments(gamePath, entryName)) arguments += L" " + QuotedArgument(argument);
    message = Start(emulatorPath, arguments, FolderOf(emulatorPath));
}

void ProgramLauncher::RunC64S(std::wstring_view emulatorPath, std::wstring_view gamePath, std::wstring_view entryName,
                              int16_t, int16_t, int16_t, int16_t, std::wstring& message) const {
    std::wstring arguments = L" " + QuotedArgument(gamePath);
    if (!entryName.empty()) arguments += L" " + QuotedArgument(entryName);
    message = Start(emulatorPath, arguments, FolderOf(emulatorPath));
}

void ProgramLauncher::RunWin64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t,
                               std::wstring& message) const {
    message = Start(emulatorPath, L" " + QuotedArgument(gamePath), FolderOf(emulatorPath));
}

void ProgramLauncher::RunPC64Win(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t,
                                 std::wstring& message) const {
    message = Start(emulatorPath, L" " + QuotedArgument(gamePath), FolderOf(emulatorPath));
}

void ProgramLauncher::RunComeBack64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t, int16_t,
                                    std::wstring& message) const {
    message = Start(emulatorPath, L" " + QuotedArgument(gamePath), FolderOf(emulatorPath));
}

void ProgramLauncher::RunFrodo(std::wstring_view emulatorPath, int16_t, std::wstring& message) const {
    message = Start(emulatorPath, L"", FolderOf(emulatorPath));
}

}  // namespace floppex
