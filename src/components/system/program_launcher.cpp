#include "components/system/program_launcher.h"

#include <shellapi.h>

#include "components/system/process_starter.h"
#include "emulator/emulator_command.h"

namespace floppex {

namespace {

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

// Starts the emulator as its operation says; does not wait for it.
std::wstring Start(LaunchOperation operation, std::wstring_view emulatorPath, std::wstring_view gameDir,
                   std::wstring_view gamePath, std::wstring_view entryName, int16_t entry,
                   std::wstring_view flipList = {}) {
    const auto command = EmulatorCommandLine(operation, emulatorPath, gameDir, gamePath, entryName, entry, flipList);
    const std::wstring program(emulatorPath);
    const ProcessOutcome outcome = StartProcess({program, command->commandLine, command->folder});
    return outcome.Started() ? L"" : L"Could not start " + program + L":\n" + SystemErrorText(outcome.error);
}

}  // namespace

void ProgramLauncher::OpenDocument(std::wstring_view document, HWND owner) const {
    const std::wstring target(document);
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ProgramLauncher::RunCCS64(std::wstring_view emulatorPath, std::wstring_view gameDir, std::wstring_view gamePath,
                               int16_t entry, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t,
                               std::wstring& message) const {
    message = Start(LaunchOperation::Ccs64, emulatorPath, gameDir, gamePath, L"", entry);
}

void ProgramLauncher::RunCCS64v2(std::wstring_view emulatorPath, std::wstring_view gameDir,
                                 std::wstring_view gamePath, int16_t entry, int16_t, int16_t, int16_t, int16_t,
                                 int16_t, int16_t, std::wstring& message) const {
    message = Start(LaunchOperation::Ccs64v2, emulatorPath, gameDir, gamePath, L"", entry);
}

void ProgramLauncher::RunVICE(std::wstring_view emulatorPath, std::wstring_view gamePath,
                              std::wstring_view entryName, int16_t, std::wstring& message,
                              std::wstring_view flipList) const {
    message = Start(LaunchOperation::Vice, emulatorPath, L"", gamePath, entryName, 0, flipList);
}

void ProgramLauncher::RunC64S(std::wstring_view emulatorPath, std::wstring_view gamePath, std::wstring_view entryName,
                              int16_t, int16_t, int16_t, int16_t, std::wstring& message) const {
    message = Start(LaunchOperation::C64s, emulatorPath, L"", gamePath, entryName, 0);
}

void ProgramLauncher::RunWin64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t,
                               std::wstring& message) const {
    message = Start(LaunchOperation::Win64, emulatorPath, L"", gamePath, L"", 0);
}

void ProgramLauncher::RunPC64Win(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t,
                                 std::wstring& message) const {
    message = Start(LaunchOperation::Pc64Win, emulatorPath, L"", gamePath, L"", 0);
}

void ProgramLauncher::RunComeBack64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t, int16_t,
                                    std::wstring& message) const {
    message = Start(LaunchOperation::ComeBack64, emulatorPath, L"", gamePath, L"", 0);
}

void ProgramLauncher::RunFrodo(std::wstring_view emulatorPath, int16_t, std::wstring& message) const {
    message = Start(LaunchOperation::Frodo, emulatorPath, L"", L"", L"", 0);
}

}  // namespace floppex
