#include "driver/registry.h"

#include <gtest/gtest.h>

#include <vector>

namespace floppex::e2e {

namespace {

constexpr const wchar_t* kShellKeys[] = {L".d64",       L".p00",       L".prg",       L".t64",       L".tap",
                                         L"FloppexD64", L"FloppexP00", L"FloppexPRG", L"FloppexT64", L"FloppexTAP"};

void DeleteTree(HKEY root, const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(root, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(root, key.c_str());
        return;
    }
    ADD_FAILURE() << "cannot delete registry key, status " << status;
}

std::optional<std::vector<BYTE>> ReadRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& type) {
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> bytes(size);
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, bytes.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

void Write(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(handle);
}

}  // namespace

void ResetRegistry() {
    DeleteTree(HKEY_LOCAL_MACHINE, L"Software\\Brindale");
    for (const wchar_t* key : kShellKeys) DeleteTree(HKEY_CLASSES_ROOT, key);
}

std::optional<DWORD> ValueType(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD type = REG_NONE;
    if (!ReadRaw(root, key, name, type)) return std::nullopt;
    return type;
}

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD type = REG_NONE;
    const auto bytes = ReadRaw(root, key, name, type);
    if (!bytes || type != REG_DWORD || bytes->size() != sizeof(DWORD)) return std::nullopt;
    DWORD value = 0;
    memcpy(&value, bytes->data(), sizeof value);
    return value;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD type = REG_NONE;
    const auto bytes = ReadRaw(root, key, name, type);
    if (!bytes || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
    if (const size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return text;
}

void WriteDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    Write(root, key, name, REG_DWORD, &value, sizeof value);
}

void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    Write(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace floppex::e2e
