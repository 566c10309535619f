// The remembered entry per game file name, kept in Floppex.ini next to the program.
#include <windows.h>

#include "app/main_window.h"
#include "settings/game_index_logic.h"

namespace floppex {

namespace {

constexpr wchar_t kSection[] = L"Game Indexes";
// The stored value is read through 9 characters: at most 8 of it count.
constexpr DWORD kValueBuffer = 9;

}  // namespace

int32_t ReadGameIndex(const MainWindow& window, std::wstring_view key) {
    wchar_t buffer[kValueBuffer] = L"";
    const DWORD copied = GetPrivateProfileStringW(kSection, std::wstring(key).c_str(), L"NOTFOUND", buffer,
                                                  kValueBuffer, window.gameIndexFile.c_str());
    return GameIndexFromStored(std::wstring_view(buffer, copied < kValueBuffer ? copied : kValueBuffer - 1));
}

void WriteGameIndex(const MainWindow& window, std::wstring_view key, int32_t index) {
    WritePrivateProfileStringW(kSection, std::wstring(key).c_str(), StoredFromGameIndex(index).c_str(),
                               window.gameIndexFile.c_str());
}

}  // namespace floppex
