#include "components/system/registry_store.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace floppex {

namespace {

// Longest string value read; settings are paths, far below this.
constexpr DWORD kMaxStringBytes = 64 * 1024;

// A key of a hive, where it lies for the whole machine and where in the user's own hive, which
// takes the machine-wide writes that a user without administrator rights is refused.
struct Place {
    HKEY root;
    std::wstring key;
};
struct Places {
    Place machine, user;
};

// The classes are written where the machine's are stored, not through the merged classes root: on
// Windows a write there lands in the user's own classes whenever the user has that key.
std::optional<Places> PlacesOf(std::wstring_view hive, std::wstring_view key) {
    const std::wstring path(key);
    if (hive == L"HKEY_LOCAL_MACHINE") return Places{{HKEY_LOCAL_MACHINE, path}, {HKEY_CURRENT_USER, path}};
    if (hive == L"HKEY_CLASSES_ROOT") {
        const std::wstring classes = L"Software\\Classes\\" + path;
        return Places{{HKEY_LOCAL_MACHINE, classes}, {HKEY_CURRENT_USER, classes}};
    }
    return std::nullopt;
}

// Tests stand in for a user without administrator rights by setting this variable, and for a
// registry that refuses every write, the user's own hive included, by setting it to "all".
enum class Refusal { None, Machine, All };
Refusal RefusedWrites() {
    static const Refusal refused = [] {
        wchar_t value[4] = L"";
        const DWORD length = GetEnvironmentVariableW(L"FLOPPEX_REFUSE_MACHINE_WRITES", value, 4);
        return length == 0 ? Refusal::None : std::wstring_view(value) == L"all" ? Refusal::All : Refusal::Machine;
    }();
    return refused;
}
bool MachineWritesRefused() { return RefusedWrites() != Refusal::None; }

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Reads a value through an open key. Settings and file types fit the first buffer and take one
// query; a longer value is asked for its size first.
LSTATUS QueryRaw(HKEY handle, const std::wstring& valueName, RawValue& raw) {
    BYTE small[512];
    DWORD size = sizeof small;
    LSTATUS status = RegQueryValueExW(handle, valueName.c_str(), nullptr, &raw.type, small, &size);
    if (status == ERROR_SUCCESS) {
        raw.bytes.assign(small, small + size);
        return status;
    }
    if (status != ERROR_MORE_DATA) return status;
    size = 0;
    status = RegQueryValueExW(handle, valueName.c_str(), nullptr, &raw.type, nullptr, &size);
    if (status == ERROR_SUCCESS && size > kMaxStringBytes) status = ERROR_MORE_DATA;
    if (status == ERROR_SUCCESS) {
        raw.bytes.resize(size);
        status = RegQueryValueExW(handle, valueName.c_str(), nullptr, &raw.type, raw.bytes.data(), &size);
        raw.bytes.resize(status == ERROR_SUCCESS ? size : 0);
    }
    return status;
}

}  // namespace

// The keys a store opened for reading, each with the access asked for, and those found missing.
class OpenRegistryKeys {
public:
    ~OpenRegistryKeys() { Forget(); }
    LSTATUS Open(const Place& place, REGSAM access, HKEY& handle) {
        for (const Opened& opened : opened_)
            if (opened.root == place.root && opened.access == access && opened.key == place.key) {
                handle = opened.handle;
                return opened.status;
            }
        handle = nullptr;
        const LSTATUS status = RegOpenKeyExW(place.root, place.key.c_str(), 0, access, &handle);
        if (status != ERROR_SUCCESS) handle = nullptr;
        opened_.push_back({place.root, place.key, access, handle, status});
        return status;
    }
    void Forget() {
        for (const Opened& opened : opened_)
            if (opened.handle) RegCloseKey(opened.handle);
        opened_.clear();
    }

private:
    struct Opened {
        HKEY root;
        std::wstring key;
        REGSAM access;
        HKEY handle;
        LSTATUS status;
    };
    std::vector<Opened> opened_;
};

namespace {

LSTATUS ReadRawAt(OpenRegistryKeys& keys, const Place& place, std::wstring_view name, RawValue& raw,
                  REGSAM access = KEY_QUERY_VALUE) {
    HKEY handle = nullptr;
    const LSTATUS status = keys.Open(place, access, handle);
    return status == ERROR_SUCCESS ? QueryRaw(handle, std::wstring(name), raw) : status;
}

// The user's own value comes first: it is the one the program wrote when the machine-wide write
// was refused.
LSTATUS ReadRaw(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                RawValue& raw) {
    const auto places = PlacesOf(hive, key);
    if (!places) return ERROR_INVALID_PARAMETER;
    const LSTATUS status = ReadRawAt(keys, places->user, name, raw);
    return status == ERROR_FILE_NOT_FOUND ? ReadRawAt(keys, places->machine, name, raw) : status;
}

LSTATUS WriteRawAt(const Place& place, std::wstring_view name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(place.root, place.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(handle, std::wstring(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return status;
}

// Machine-wide when allowed, and then an older value of the user's own that would hide it is
// removed; else in the user's own hive.
LSTATUS WriteRaw(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                 DWORD type, const void* data, DWORD size) {
    const auto places = PlacesOf(hive, key);
    if (!places) return ERROR_INVALID_PARAMETER;
    if (RefusedWrites() == Refusal::All) return ERROR_ACCESS_DENIED;
    keys.Forget();
    if (!MachineWritesRefused() && WriteRawAt(places->machine, name, type, data, size) == ERROR_SUCCESS) {
        RegDeleteKeyValueW(places->user.root, places->user.key.c_str(), std::wstring(name).c_str());
        return ERROR_SUCCESS;
    }
    return WriteRawAt(places->user, name, type, data, size);
}

bool SameRaw(const RawValue& raw, DWORD type, const void* data, DWORD size) {
    return raw.type == type && raw.bytes.size() == size &&
           std::equal(raw.bytes.begin(), raw.bytes.end(), static_cast<const BYTE*>(data));
}

// Whether WriteRaw with these arguments would leave the registry as it is: the value is stored
// as written where the write would put it, and no value of the user's own would be removed.
bool HoldsRaw(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
              DWORD type, const void* data, DWORD size) {
    const auto places = PlacesOf(hive, key);
    if (!places) return false;
    RawValue user, machine;
    const LSTATUS userStatus = ReadRawAt(keys, places->user, name, user);
    const bool userHolds = userStatus == ERROR_SUCCESS && SameRaw(user, type, data, size);
    if (MachineWritesRefused()) return userHolds;
    // Opened for writing as well: where that is refused, the write would go to the user's hive.
    const LSTATUS machineStatus = ReadRawAt(keys, places->machine, name, machine, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (machineStatus == ERROR_ACCESS_DENIED) return userHolds;
    return userStatus == ERROR_FILE_NOT_FOUND && machineStatus == ERROR_SUCCESS && SameRaw(machine, type, data, size);
}

std::optional<std::wstring> AsString(const RawValue& raw) {
    if (raw.type != REG_SZ && raw.type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(raw.bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(raw.bytes.begin(), raw.bytes.begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<BYTE*>(text.data()));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

std::optional<int64_t> AsInteger(const RawValue& raw) {
    if (raw.type == REG_DWORD && raw.bytes.size() == sizeof(DWORD)) {
        int32_t value = 0;
        std::copy(raw.bytes.begin(), raw.bytes.end(), reinterpret_cast<BYTE*>(&value));
        return value;
    }
    if (const auto text = AsString(raw)) {
        std::string ascii(text->begin(), text->end());
        int64_t value = 0;
        const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (ec == std::errc() && end == ascii.data() + ascii.size() && !ascii.empty()) return value;
    }
    return std::nullopt;
}

std::optional<float> AsFloat(const RawValue& raw) {
    if (raw.type == REG_DWORD) {
        const auto value = AsInteger(raw);
        return value ? std::optional<float>(static_cast<float>(*value)) : std::nullopt;
    }
    const auto text = AsString(raw);
    if (!text) return std::nullopt;
    std::string ascii;
    for (wchar_t c : *text) {
        if (c > 0x7f) return std::nullopt;
        ascii += static_cast<char>(c);
    }
    // A decimal number only: no blanks, leading '+', hexadecimal or words like "inf".
    if (ascii.empty() || ascii[0] == '+' || ascii.find_first_not_of("0123456789.+-eE") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const float value = std::strtof(ascii.c_str(), &end);
    if (end != ascii.c_str() + ascii.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// Reads a value as convert makes it. target keeps defaultValue when the value is missing or
// convert refuses it, which returns `refused`.
template <typename T, typename Convert>
long ReadAs(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
            T& target, T defaultValue, Convert convert, LSTATUS refused) {
    target = std::move(defaultValue);
    RawValue raw;
    const LSTATUS status = ReadRaw(keys, hive, key, name, raw);
    if (status != ERROR_SUCCESS) return status;
    auto value = convert(raw);
    if (!value) return refused;
    target = std::move(*value);
    return ERROR_SUCCESS;
}

// Reads an integer-like value in T's range, the text flag choosing between REG_SZ and REG_DWORD.
template <typename T>
long ReadInteger(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                 T& target, bool text, T defaultValue) {
    target = defaultValue;
    RawValue raw;
    const LSTATUS status = ReadRaw(keys, hive, key, name, raw);
    if (status != ERROR_SUCCESS) return status;
    if ((raw.type == REG_DWORD) == text) return ERROR_INVALID_DATATYPE;
    const auto value = AsInteger(raw);
    if (!value || *value < std::numeric_limits<T>::min() || *value > std::numeric_limits<T>::max())
        return ERROR_INVALID_DATA;
    target = static_cast<T>(*value);
    return ERROR_SUCCESS;
}

// A text as REG_SZ, its ending zero stored with it.
DWORD TextBytes(const std::wstring& text) { return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)); }

long WriteText(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
               const std::wstring& text) {
    return WriteRaw(keys, hive, key, name, REG_SZ, text.c_str(), TextBytes(text));
}

long WriteInteger(OpenRegistryKeys& keys, std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                  int32_t value, bool text) {
    if (text) return WriteText(keys, hive, key, name, std::to_wstring(value));
    return WriteRaw(keys, hive, key, name, REG_DWORD, &value, sizeof value);
}

}  // namespace

RegistryStore::RegistryStore() : openKeys_(std::make_unique<OpenRegistryKeys>()) {}

RegistryStore::~RegistryStore() = default;

long RegistryStore::ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                              std::wstring& target, bool, std::wstring_view defaultValue) const {
    return ReadAs(*openKeys_, hive, key, name, target, std::wstring(defaultValue), AsString, ERROR_INVALID_DATATYPE);
}

long RegistryStore::ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, bool& target,
                              bool text, bool defaultValue) const {
    int16_t value = 0;
    const long status = ReadInteger<int16_t>(*openKeys_, hive, key, name, value, text, defaultValue ? -1 : 0);
    target = value != 0;
    return status;
}

long RegistryStore::ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                              int16_t& target, bool text, int16_t defaultValue) const {
    return ReadInteger(*openKeys_, hive, key, name, target, text, defaultValue);
}

long RegistryStore::ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                              int32_t& target, bool text, int32_t defaultValue) const {
    return ReadInteger(*openKeys_, hive, key, name, target, text, defaultValue);
}

long RegistryStore::ReadValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, float& target,
                              bool, float defaultValue) const {
    return ReadAs(*openKeys_, hive, key, name, target, defaultValue, AsFloat, ERROR_INVALID_DATA);
}

bool RegistryStore::UpdateValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                                std::wstring_view value) const {
    const std::wstring text(value);
    if (HoldsRaw(*openKeys_, hive, key, name, REG_SZ, text.c_str(), TextBytes(text))) return false;
    WriteText(*openKeys_, hive, key, name, text);
    return true;
}

long RegistryStore::WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                               std::wstring_view value, bool) const {
    return WriteText(*openKeys_, hive, key, name, std::wstring(value));
}

std::optional<std::wstring> RegistryStore::ReadTextIn(Scope scope, std::wstring_view hive, std::wstring_view key,
                                                      std::wstring_view name) const {
    const auto places = PlacesOf(hive, key);
    if (!places) return std::nullopt;
    RawValue raw;
    const Place& place = scope == Scope::Machine ? places->machine : places->user;
    return ReadRawAt(*openKeys_, place, name, raw) == ERROR_SUCCESS ? AsString(raw) : std::nullopt;
}

long RegistryStore::DeleteUserValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name) const {
    const auto places = PlacesOf(hive, key);
    if (!places) return ERROR_INVALID_PARAMETER;
    if (RefusedWrites() == Refusal::All) return ERROR_ACCESS_DENIED;
    openKeys_->Forget();
    return RegDeleteKeyValueW(places->user.root, places->user.key.c_str(), std::wstring(name).c_str());
}

long RegistryStore::WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, bool value,
                               bool text) const {
    return WriteInteger(*openKeys_, hive, key, name, value ? -1 : 0, text);
}

long RegistryStore::WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                               int16_t value, bool text) const {
    return WriteInteger(*openKeys_, hive, key, name, value, text);
}

long RegistryStore::WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name,
                               int32_t value, bool text) const {
    return WriteInteger(*openKeys_, hive, key, name, value, text);
}

long RegistryStore::WriteValue(std::wstring_view hive, std::wstring_view key, std::wstring_view name, float value,
                               bool) const {
    // The shortest plain decimal that reads back to the same float; nine significant digits
    // always do for what a fixed number of decimals cannot hold.
    char buffer[64] = "";
    bool exact = false;
    for (int decimals = 0; decimals <= 9 && !exact; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
        exact = std::strtof(buffer, nullptr) == value;
    }
    if (!exact) std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return WriteText(*openKeys_, hive, key, name, std::wstring(buffer, buffer + std::strlen(buffer)));
}

}  // namespace floppex
