// Makes the shell hand C64 files to Floppex: nine extensions, each with "Contents..." and "Play", and
// a cartridge type that a user may tie ".crt" to by hand (on Windows ".crt" is a certificate).
#include "shell/file_types.h"

#include <windows.h>
#include <shlobj.h>

#include <array>
#include <string>

#include "components/system/registry_store.h"
#include "settings/registry_keys.h"
#include "shellext/handler_registration.h"
#include "window/module_state.h"

namespace floppex {

namespace {

struct ShellType {
    std::wstring_view extension, typeKey, description, iconIndex;
    bool claimsExtension = true;
};

// The first five in their fixed order, then the disks and the cartridge that came later.
constexpr std::array<ShellType, 10> kFileTypes{{
    {L".d64", L"FloppexD64", L"C64 Disk Image", L"1"},
    {L".p00", L"FloppexP00", L"C64 P00 Image", L"2"},
    {L".prg", L"FloppexPRG", L"C64 PRG Image", L"3"},
    {L".t64", L"FloppexT64", L"C64S T64 Image", L"5"},
    {L".tap", L"FloppexTAP", L"C64 Tape Image", L"6"},
    {L".d71", L"FloppexD71", L"C64 1571 Disk Image", L"1"},
    {L".d81", L"FloppexD81", L"C64 1581 Disk Image", L"1"},
    {L".g64", L"FloppexG64", L"C64 GCR Disk Image", L"1"},
    {L".x64", L"FloppexX64", L"C64 X64 Disk Image", L"1"},
    {L".crt", L"FloppexCRT", L"C64 Cartridge Image", L"8", false},
}};

// Each key's default value, parents before children, made to hold what it is written at every
// start (a value stored as it would be written is left alone). Paths are left unquoted on purpose:
// the request handling takes everything after the program name as one path. True when a value was
// not stored before as it is written now.
bool RegisterType(const RegistryStore& store, const ShellType& type, const std::wstring& program) {
    const std::wstring typeKey(type.typeKey);
    bool changed = false;
    const auto write = [&](const std::wstring& key, const std::wstring& value) {
        changed |= store.UpdateValue(kClassesHive, key, L"", value);
    };
    if (type.claimsExtension) write(std::wstring(type.extension), typeKey);
    write(typeKey, std::wstring(type.description));
    write(typeKey + L"\\Shell", L"");
    write(typeKey + L"\\DefaultIcon", program + L"," + std::wstring(type.iconIndex));
    write(typeKey + L"\\Shell\\Contents...", L"");
    write(typeKey + L"\\Shell\\Contents...\\command", program + L" %1");
    write(typeKey + L"\\Shell\\Play", L"");
    write(typeKey + L"\\Shell\\Play\\command", program + L" -p %1");
    return changed;
}

// Earlier versions tied ".crt" to Floppex, taking certificates away from Windows. Once, and never
// again (a later association of the user's own is theirs): the machine's tie goes back to Windows'
// own "CERFile", the user's own tie is removed. True when something was repaired.
bool RepairCertificateType(const RegistryStore& store) {
    bool repaired = false;
    store.ReadValue(kMachineHive, kShellKey, L"CrtRepaired", repaired, false, false);
    if (repaired) return false;
    constexpr std::wstring_view ours = L"FloppexCRT";
    using Scope = RegistryStore::Scope;
    const bool user = store.ReadTextIn(Scope::User, kClassesHive, L".crt", L"") == ours;
    const bool machine = store.ReadTextIn(Scope::Machine, kClassesHive, L".crt", L"") == ours;
    if (user) store.DeleteUserValue(kClassesHive, L".crt", L"");
    if (machine) store.WriteValue(kClassesHive, L".crt", L"", std::wstring_view(L"CERFile"), true);
    store.WriteValue(kMachineHive, kShellKey, L"CrtRepaired", true, false);
    return user || machine;
}

}  // namespace

FileTypeRegistration::FileTypeRegistration()
    : program_(Module().appDir + L"Floppex.exe"), handlers_(Module().appDir + L"FloppexShell.dll") {}

bool FileTypeRegistration::Step() {
    if (next_ == kFileTypes.size()) return false;
    const RegistryStore store;
    if (next_ == 0) {
        changed_ |= RepairCertificateType(store);
        // Thumbnails and previews from the DLL beside the program, unless regsvr32 /u removed them.
        withHandlers_ = GetFileAttributesW(handlers_.c_str()) != INVALID_FILE_ATTRIBUTES && !shellext::HandlersRemoved();
    }
    const ShellType& type = kFileTypes[next_++];
    changed_ |= RegisterType(store, type, program_);
    if (withHandlers_) changed_ |= shellext::RegisterHandlersFor(type.extension, handlers_);
    if (next_ < kFileTypes.size()) return true;
    // Explorer shows the new icons, verbs and handlers only once it is told.
    if (changed_) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return false;
}

}  // namespace floppex
