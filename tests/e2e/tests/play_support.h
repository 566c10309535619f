#pragma once
// Shared by the launch tests: fake emulators in the registry, the Play button, and what the fake
// emulator recorded about how it was started.
#include <optional>
#include <string>
#include <vector>

#include "driver/message_box.h"
#include "tests/e2e_test.h"

namespace floppex::e2e::play {

// Registry value of each emulator's program path, by catalogue index.
inline constexpr const wchar_t* kPathValues[] = {
    L"CCS64v109Path",   L"CCS64v20DosPath", L"CCS64v20WinPath",    L"VICEv0161Path",
    L"WinVICEv0161Path", L"C64Sv252Path",   L"Win64PROPath",       L"PC64Dosv122Path",
    L"PC64Winv214Path", L"ComeBack64v099Path", L"FrodoWin32v411Path",
};

struct Launch {
    std::wstring commandLine;
    std::wstring folder;
};

// A copy of the fake emulator in its own folder below the program folder, configured for `emu`.
inline std::wstring InstallEmulator(const ProgramFolder& folder, int emu, const std::wstring& exeName) {
    const std::wstring dir = folder.File(L"emu" + std::to_wstring(emu));
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\" + exeName;
    EXPECT_TRUE(CopyOneFile(FakeEmulatorExe(), exe));
    WriteString(HKEY_LOCAL_MACHINE, kPathsKey, kPathValues[emu], exe);
    return exe;
}

// InstallEmulator, made the default emulator.
inline std::wstring UseEmulator(const ProgramFolder& folder, int emu, const std::wstring& exeName) {
    const std::wstring exe = InstallEmulator(folder, emu, exeName);
    WriteDword(HKEY_LOCAL_MACHINE, kIntegersKey, L"DefEmu", static_cast<DWORD>(emu));
    return exe;
}

inline void SetDefaultEmulator(DWORD emu) { WriteDword(HKEY_LOCAL_MACHINE, kIntegersKey, L"DefEmu", emu); }
inline void KeepWindowOpen(bool keep) { WriteDword(HKEY_LOCAL_MACHINE, kWindowKey, L"KeepOpen", keep ? 0xFFFFFFFF : 0); }

inline std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
inline std::wstring LogOf(const std::wstring& emulatorExe) { return FolderOf(emulatorExe) + L"\\fake-emulator.txt"; }

// The starts the fake emulator at `emulatorExe` recorded so far.
inline std::vector<Launch> LaunchesOf(const std::wstring& emulatorExe) {
    std::vector<Launch> launches;
    const std::wstring log = Widen(ReadWholeFile(LogOf(emulatorExe)));
    size_t at = 0;
    for (;;) {
        const size_t line = log.find(L"commandline: ", at);
        const size_t folderLine = log.find(L"\nfolder: ", line);
        const size_t end = folderLine == std::wstring::npos ? folderLine : log.find(L'\n', folderLine + 1);
        if (line == std::wstring::npos || end == std::wstring::npos) break;
        launches.push_back({log.substr(line + 13, folderLine - line - 13), log.substr(folderLine + 9, end - folderLine - 9)});
        at = end;
    }
    return launches;
}

// Waits for the first start of the fake emulator; nothing when it was not started.
inline std::optional<Launch> WaitForLaunch(const std::wstring& emulatorExe) {
    if (!WaitUntil([&] { return !LaunchesOf(emulatorExe).empty(); })) return std::nullopt;
    return LaunchesOf(emulatorExe).front();
}

inline std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }
inline std::wstring Autostart(const std::wstring& emulatorExe, const std::wstring& target) {
    return Quoted(emulatorExe) + L" -autostart " + Quoted(target);
}

// Folders compare without letter case and without a closing backslash.
inline bool SameFolder(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b})
        if (!s->empty() && s->back() == L'\\') s->pop_back();
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The names of a disk's entries as `c1541 -list` printed them into `listFixture`.
inline std::vector<std::wstring> ListedNames(const std::wstring& listFixture) {
    std::vector<std::wstring> names;
    const std::string listing = ReadWholeFile(FixturePath(listFixture));
    size_t at = listing.find('\n');  // the first line is the disk's header
    while (at != std::string::npos) {
        const size_t open = listing.find('"', at), close = open == std::string::npos ? open : listing.find('"', open + 1);
        const size_t next = listing.find('\n', at + 1);
        if (close == std::string::npos || (next != std::string::npos && open > next)) break;
        names.push_back(Widen(listing.substr(open + 1, close - open - 1)));
        at = next;
    }
    return names;
}

// The program's window listing `label`, ready for a click.
inline HWND OpenListed(const AppProcess& app, const std::wstring& label) {
    const HWND window = WaitForListing(app, label);
    return window && MainWindowView(window).PlayEnabled() ? window : nullptr;
}

// Chooses row `row` and clicks Play.
inline bool PlayRow(const MainWindowView& window, int row) {
    if (!window.Handle() || !window.Rows().Select(row) || !window.Sync()) return false;
    return PostMessageW(window.PlayButton(), BM_CLICK, 0, 0) != 0;
}

inline bool IniHas(const ProgramFolder& folder, const std::string& line) {
    return ReadWholeFile(folder.File(L"Floppex.ini")).find(line) != std::string::npos;
}

}  // namespace floppex::e2e::play
