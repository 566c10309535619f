#pragma once
// Starts documents in their associated program, and the supported C64 emulators on a game.
//
// Each emulator operation starts the program at emulatorPath with the command line that
// EmulatorCommandLine makes for it, and does not wait for it. The numeric switches are accepted
// as the callers pass them and are not used by these command lines. message is "" when the
// program was started, else a text for the user.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace floppex {

class ProgramLauncher {
public:
    // Opens a file or link with the program the shell associates with it.
    void OpenDocument(std::wstring_view document, HWND owner) const;

    void RunCCS64(std::wstring_view emulatorPath, std::wstring_view gameDir, std::wstring_view gamePath,
                  int16_t entry, int16_t s1, int16_t s2, int16_t s3, int16_t s4, int16_t s5, int16_t s6,
                  std::wstring& message) const;
    void RunCCS64v2(std::wstring_view emulatorPath, std::wstring_view gameDir, std::wstring_view gamePath,
                    int16_t entry, int16_t s1, int16_t s2, int16_t s3, int16_t s4, int16_t s5, int16_t s6,
                    std::wstring& message) const;
    // flipList: VICE's flip list of the game's disk set, or empty.
    void RunVICE(std::wstring_view emulatorPath, std::wstring_view gamePath, std::wstring_view entryName, int16_t s1,
                 std::wstring& message, std::wstring_view flipList = {}) const;
    void RunC64S(std::wstring_view emulatorPath, std::wstring_view gamePath, std::wstring_view entryName, int16_t s1,
                 int16_t s2, int16_t s3, int16_t s4, std::wstring& message) const;
    void RunWin64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t s1, std::wstring& message) const;
    void RunPC64Win(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t s1,
                    std::wstring& message) const;
    void RunComeBack64(std::wstring_view emulatorPath, std::wstring_view gamePath, int16_t s1, int16_t s2,
                       std::wstring& message) const;
    void RunFrodo(std::wstring_view emulatorPath, int16_t s1, std::wstring& message) const;
};

}  // namespace floppex
