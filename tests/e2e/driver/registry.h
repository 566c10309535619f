#pragma once
// The program's registry keys: removed before each test, read and seeded by the tests.
#include <windows.h>

#include <optional>
#include <string>

namespace floppex::e2e {

inline constexpr wchar_t kWindowKey[] = L"Software\\Brindale\\Floppex\\Window";
inline constexpr wchar_t kIntegersKey[] = L"Software\\Brindale\\Floppex\\Integers";
inline constexpr wchar_t kPathsKey[] = L"Software\\Brindale\\Paths";

// Deletes HKLM\Software\Brindale and the shell types (.d64 .p00 .prg .t64 .tap, FloppexD64 ...).
void ResetRegistry();

std::optional<DWORD> ValueType(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name);
void WriteDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);

}  // namespace floppex::e2e
