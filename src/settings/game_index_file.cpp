// The remembered entry per game file name, kept in Floppex.ini next to the program.
#include "settings/game_index_file.h"

#include <string>

#include "settings/game_index_logic.h"
#include "window/module_state.h"

namespace floppex {

namespace {

constexpr wchar_t kSection[] = L"Game Indexes";
constexpr wchar_t kLastDiskSection[] = L"Last Disks";
// The stored value is read through 9 characters: at most 8 of it count.
constexpr DWORD kValueBuffer = 9;

// The profile functions keep a file in UTF-16 when it starts with the byte-order mark, and in the
// ANSI code page otherwise, where a name like "Łódź.d64" would lose its letters. A new file is
// therefore created as an empty UTF-16 one.
void CreateUnicodeFileIfMissing(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const BYTE bom[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, bom, sizeof bom, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int32_t ReadGameIndex(const MainWindow& window, std::wstring_view key) {
    wchar_t buffer[kValueBuffer] = L"";
    const DWORD copied = GetPrivateProfileStringW(kSection, std::wstring(key).c_str(), L"NOTFOUND", buffer,
                                                  kValueBuffer, window.gameIndexFile.c_str());
    return GameIndexFromStored(std::wstring_view(buffer, copied < kValueBuffer ? copied : kValueBuffer - 1));
}

void WriteGameIndex(const MainWindow& window, std::wstring_view key, int32_t index) {
    CreateUnicodeFileIfMissing(window.gameIndexFile);
    WritePrivateProfileStringW(kSection, std::wstring(key).c_str(), StoredFromGameIndex(index).c_str(),
                               window.gameIndexFile.c_str());
}

std::wstring ShownGameKey(const MainWindow& window) {
    const DiskSet& set = window.diskSet;
    if (set.paths.empty()) return Helper().GetFileName(window.requestPath);
    if (set.archiveName.empty()) return set.names[set.shown];
    return set.shown == 0 ? set.archiveName : set.archiveName + L"|" + set.names[set.shown];
}

std::wstring ReadLastDisk(const MainWindow& window, std::wstring_view archiveName) {
    std::wstring name(1024, L'\0');
    name.resize(GetPrivateProfileStringW(kLastDiskSection, std::wstring(archiveName).c_str(), L"", name.data(),
                                         static_cast<DWORD>(name.size()), window.gameIndexFile.c_str()));
    return name;
}

void WriteLastDisk(const MainWindow& window, std::wstring_view archiveName, std::wstring_view diskName) {
    CreateUnicodeFileIfMissing(window.gameIndexFile);
    WritePrivateProfileStringW(kLastDiskSection, std::wstring(archiveName).c_str(), std::wstring(diskName).c_str(),
                               window.gameIndexFile.c_str());
}

}  // namespace floppex
