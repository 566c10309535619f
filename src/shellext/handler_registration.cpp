#include "shellext/handler_registration.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "components/system/registry_store.h"
#include "settings/registry_keys.h"
#include "shellext/handler_logic.h"

namespace floppex::shellext {

namespace {

constexpr std::wstring_view kThumbnailShellEx = L"{e357fccd-a995-4576-b01f-234630154e96}";
constexpr std::wstring_view kPreviewShellEx = L"{8895b1c6-b41f-4c1c-a562-0d564250836f}";
constexpr std::wstring_view kPreviewSurrogate = L"{6d2b5079-2f0b-48dd-ab7f-97cec514d30b}";  // prevhost.exe, 64-bit
constexpr std::wstring_view kPreviewList = L"Software\\Microsoft\\Windows\\CurrentVersion\\PreviewHandlers";
constexpr std::wstring_view kRemoved = L"HandlersRemoved";

std::wstring ClassKey(const Handler& handler) { return L"CLSID\\" + ClassId(handler); }
std::wstring TypeKey(std::wstring_view extension) { return L"SystemFileAssociations\\" + std::wstring(extension); }
std::wstring ShellExKey(const Handler& handler) {
    return TypeKey(handler.extension) + L"\\ShellEx\\" +
           std::wstring(handler.kind == HandlerKind::Thumbnail ? kThumbnailShellEx : kPreviewShellEx);
}
std::wstring Description(const Handler& handler) {
    return std::wstring(L"Floppex C64 ") + (handler.kind == HandlerKind::Thumbnail ? L"thumbnail" : L"preview") +
           L" (" + std::wstring(handler.extension) + L")";
}

bool KeyIsEmpty(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    DWORD keys = 0, values = 0;
    const bool read = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return read && keys == 0 && values == 0;
}

std::wstring DefaultText(HKEY root, const std::wstring& key) {
    wchar_t text[64] = L"";
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return {};
    return text;
}

// Ours from one hive: the classes, the ties that still name them, the keys that held only those.
void UnregisterIn(HKEY root) {
    const std::wstring classes = L"Software\\Classes\\";
    for (const HandlerKind kind : {HandlerKind::Thumbnail, HandlerKind::Preview})
        for (const std::wstring_view extension : kExtensions) {
            const Handler handler{kind, extension};
            RegDeleteTreeW(root, (classes + ClassKey(handler)).c_str());
            RegDeleteKeyValueW(root, std::wstring(kPreviewList).c_str(), ClassId(handler).c_str());
            const std::wstring tie = classes + ShellExKey(handler);
            if (CompareStringOrdinal(DefaultText(root, tie).c_str(), -1, ClassId(handler).c_str(), -1, TRUE) == CSTR_EQUAL)
                RegDeleteKeyW(root, tie.c_str());
        }
    // Ties without a value are left when a machine-wide write took the user's value away.
    for (const std::wstring_view extension : kExtensions)
        for (const std::wstring& key : {classes + ShellExKey({HandlerKind::Thumbnail, extension}),
                                        classes + ShellExKey({HandlerKind::Preview, extension}),
                                        classes + TypeKey(extension) + L"\\ShellEx", classes + TypeKey(extension)})
            if (KeyIsEmpty(root, key)) RegDeleteKeyW(root, key.c_str());
}

}  // namespace

bool RegisterHandlers(const std::wstring& dllPath) {
    bool changed = false;
    for (const std::wstring_view extension : kExtensions) changed |= RegisterHandlersFor(extension, dllPath);
    return changed;
}

bool RegisterHandlersFor(std::wstring_view extension, const std::wstring& dllPath) {
    if (std::ranges::find(kExtensions, extension) == kExtensions.end()) return false;
    const RegistryStore store;
    bool changed = false;
    // Only what is not stored as it would be written: a start finding everything in place writes nothing.
    const auto write = [&](std::wstring_view hive, const std::wstring& key, std::wstring_view name, const std::wstring& value) {
        changed |= store.UpdateValue(hive, key, name, value);
    };
    for (const HandlerKind kind : {HandlerKind::Thumbnail, HandlerKind::Preview}) {
        const Handler handler{kind, extension};
        write(kClassesHive, ClassKey(handler), L"", Description(handler));
        write(kClassesHive, ClassKey(handler) + L"\\InprocServer32", L"", dllPath);
        write(kClassesHive, ClassKey(handler) + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        if (kind == HandlerKind::Preview) {
            write(kClassesHive, ClassKey(handler), L"AppID", std::wstring(kPreviewSurrogate));
            write(kMachineHive, std::wstring(kPreviewList), ClassId(handler), Description(handler));
        }
        write(kClassesHive, ShellExKey(handler), L"", ClassId(handler));
    }
    return changed;
}

void UnregisterHandlers() {
    UnregisterIn(HKEY_LOCAL_MACHINE);
    UnregisterIn(HKEY_CURRENT_USER);
}

bool HandlersRemoved() {
    bool removed = false;
    RegistryStore().ReadValue(kMachineHive, kShellKey, kRemoved, removed, false, false);
    return removed;
}

void RememberRemoval(bool removed) {
    if (removed) {
        RegistryStore().WriteValue(kMachineHive, kShellKey, kRemoved, true, false);
        return;
    }
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        RegDeleteKeyValueW(root, std::wstring(kShellKey).c_str(), std::wstring(kRemoved).c_str());
}

}  // namespace floppex::shellext
