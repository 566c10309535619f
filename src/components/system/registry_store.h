#pragma once
// Reads and writes single registry values under HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT.
//
// A write goes machine-wide; when that is refused, as it is for a user without administrator
// rights, it goes to the same key in the user's own hive (HKEY_CURRENT_USER, and for the classes
// HKEY_CURRENT_USER\Software\Classes). A read looks in the user's own hive first. After a
// machine-wide write the user's own value of that name is removed, so it cannot hide the new one.
//
// How values are stored: with the text flag, as REG_SZ. Without it, booleans as REG_DWORD
// 0xFFFFFFFF (true, the 16-bit -1 widened) or 0; 16- and 32-bit integers as REG_DWORD holding the
// signed value; floats as REG_SZ with the shortest decimal text that reads back to the same float
// (a REG_DWORD integer is accepted on reading too). A value that is absent, of another type or
// outside the target's range reads as the default. Every call returns the Win32 status.
//
// A store keeps the keys it read from open until it is released, so that reading several values
// of one key opens it once; a write or a removal closes them, since it may create a key.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace floppex {

class OpenRegistryKeys;

class RegistryStore {
public:
    RegistryStore();
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    long ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, std::wstring& target,
                   bool text, std::wstring_view defaultValue) const;
    long ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, bool& target, bool text,
                   bool defaultValue) const;
    long ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, int16_t& target,
                   bool text, int16_t defaultValue) const;
    long ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, int32_t& target,
                   bool text, int32_t defaultValue) const;
    long ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, float& target, bool text,
                   float defaultValue) const;

    // WriteValue of this text, unless it would change nothing: the text is stored as that write
    // would store it, where it would store it, and no value of the user's own would be removed.
    // True when it wrote.
    bool UpdateValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                     std::wstring_view value) const;

    long WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, std::wstring_view value,
                    bool text) const;

    // The text stored machine-wide only, or in the user's own hive only, without the other; and
    // the removal of the user's own value. For repairs that must tell the two apart.
    enum class Scope { Machine, User };
    std::optional<std::wstring> ReadTextIn(Scope scope, std::wstring_view hive, std::wstring_view key,
                                           std::wstring_view name) const;
    long DeleteUserValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name) const;
    long WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, bool value,
                    bool text) const;
    long WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, int16_t value,
                    bool text) const;
    long WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, int32_t value,
                    bool text) const;
    long WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, float value,
                    bool text) const;

private:
    std::unique_ptr<OpenRegistryKeys> openKeys_;
};

}  // namespace floppex
