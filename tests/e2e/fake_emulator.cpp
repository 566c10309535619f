// Stands in for a C64 emulator: appends one line to "fake-emulator.txt" next to itself, in UTF-8:
// its working folder, then each argument as CommandLineToArgvW splits its command line, all
// separated by tabs. Standing in for WinZip, it also copies "unpacks.d64" from its own folder into
// its working folder, as if it had unpacked it there.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "utf8.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static wchar_t own[32768], current[32768];
    std::wstring folder(own, GetModuleFileNameW(nullptr, own, 32768));
    folder.resize(folder.find_last_of(L'\\') + 1);
    std::wstring record(current, GetCurrentDirectoryW(32768, current));
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i) (record += L'\t') += arguments[i];
    LocalFree(arguments);
    const std::string line = floppex::e2e::Narrow(record + L"\n");
    HANDLE log = CreateFileW((folder + L"fake-emulator.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    CopyFileW((folder + L"unpacks.d64").c_str(), (std::wstring(current) + L"\\unpacks.d64").c_str(), FALSE);
    return 0;
}
