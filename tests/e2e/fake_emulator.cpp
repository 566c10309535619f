// Stands in for a C64 emulator: appends a line to "fake-emulator.txt" beside itself, in UTF-16: its working folder,
// then each argument as CommandLineToArgvW splits its command line, separated by tabs. Standing in for WinZip, it also
// copies "unpacks.d64" from its own folder into its working folder, as if it had unpacked it there.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static wchar_t own[32768], current[32768];
    std::wstring folder(own, GetModuleFileNameW(nullptr, own, 32768)), line(current, GetCurrentDirectoryW(32768, current));
    folder.resize(folder.find_last_of(L'\\') + 1);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i) (line += L'\t') += arguments[i];
    line += L'\n';
    HANDLE log = CreateFileW((folder + L"fake-emulator.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0,
                             nullptr);
    DWORD written = 0;
    WriteFile(log, line.data(), DWORD(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(log);
    CopyFileW((folder + L"unpacks.d64").c_str(), (std::wstring(current) + L"\\unpacks.d64").c_str(), FALSE);
    return 0;
}
