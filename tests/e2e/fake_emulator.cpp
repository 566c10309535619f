// Stands in for a C64 emulator: appends its full command line and its working folder, in UTF-8,
// to "fake-emulator.txt" next to itself, then ends. Standing in for WinZip, it also copies a file
// "unpacks.d64" from its own folder into its working folder, as if it had unpacked it there.
#include <windows.h>

#include <string>
#include <vector>

#include "driver/utf8.h"

namespace {

using floppex::e2e::Narrow;

std::wstring OwnFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring CurrentFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
    return std::wstring(path.data(), length < path.size() ? length : 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::string record =
        "commandline: " + Narrow(GetCommandLineW()) + "\nfolder: " + Narrow(CurrentFolder()) + "\n";
    const std::wstring log = OwnFolder() + L"fake-emulator.txt";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    const std::wstring unpacks = OwnFolder() + L"unpacks.d64";
    if (GetFileAttributesW(unpacks.c_str()) != INVALID_FILE_ATTRIBUTES)
        CopyFileW(unpacks.c_str(), (CurrentFolder() + L"\\unpacks.d64").c_str(), FALSE);
    return 0;
}
