#include "driver/paths.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace floppex::e2e {

std::wstring ToWindowsPath(const std::string& path) {
    std::wstring result = Widen(path);
    if (result.empty() || result.front() != L'/') return result;
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    return L"Z:" + result;
}

std::wstring FloppexExe() { return ToWindowsPath(FLOPPEX_E2E_EXE); }
std::wstring FakeEmulatorExe() { return ToWindowsPath(FLOPPEX_E2E_FAKE_EMULATOR); }
std::wstring MenuHookDll() { return ToWindowsPath(FLOPPEX_E2E_MENU_HOOK); }
std::wstring FixturePath(const std::wstring& name) { return ToWindowsPath(FLOPPEX_E2E_FIXTURES) + L"\\" + name; }
std::wstring WorkRoot() { return ToWindowsPath(FLOPPEX_E2E_WORK); }

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyOneFile(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace floppex::e2e
