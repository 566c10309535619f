#pragma once
// Where the settings live in the registry.
#include <string_view>

namespace floppex {

inline constexpr std::wstring_view kMachineHive = L"HKEY_LOCAL_MACHINE";
inline constexpr std::wstring_view kClassesHive = L"HKEY_CLASSES_ROOT";
inline constexpr std::wstring_view kWindowKey = L"Software\\Brindale\\Floppex\\Window";
inline constexpr std::wstring_view kIntegersKey = L"Software\\Brindale\\Floppex\\Integers";
inline constexpr std::wstring_view kIntegersKeyUpper = L"SOFTWARE\\Brindale\\Floppex\\Integers";
// What the shell registration has done once and must not do again.
inline constexpr std::wstring_view kShellKey = L"Software\\Brindale\\Floppex\\Shell";
inline constexpr std::wstring_view kPathsKey = L"Software\\Brindale\\Paths";
inline constexpr std::wstring_view kPathsKeyUpper = L"SOFTWARE\\Brindale\\Paths";

}  // namespace floppex
