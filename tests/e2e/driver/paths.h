#pragma once
// Where the build put the program, the helpers and the fixtures, as Windows paths.
#include <string>

#include "driver/utf8.h"

namespace floppex::e2e {

// A Unix path as Wine sees it (drive Z:), a Windows path unchanged.
std::wstring ToWindowsPath(const std::string& path);

std::wstring FloppexExe();
std::wstring FakeEmulatorExe();
std::wstring MenuHookDll();
std::wstring FixturePath(const std::wstring& name);
std::wstring WorkRoot();

bool FileExists(const std::wstring& path);
bool CopyOneFile(const std::wstring& from, const std::wstring& to);
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace floppex::e2e
