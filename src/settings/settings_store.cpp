// Loading the settings at start and saving each one as it changes.
#include "settings/settings_store.h"

#include <chrono>
#include <random>

#include "components/system/registry_store.h"
#include "settings/placement_logic.h"
#include "settings/registry_keys.h"
#include "window/control_ids.h"
#include "window/menu_checks.h"
#include "window/module_state.h"
#include "window/twips.h"

namespace floppex {

namespace {

struct StoredWindowSettings {
    StoredPlacement placement;
    bool onTop = true;
    bool keepOpen = true;
    bool c64Font = true, c64LowerCase = false;
};

StoredWindowSettings ReadSettings(ModuleState& module) {
    const RegistryStore store;
    StoredWindowSettings stored;
    float height = -1, top = -1, left = -1;
    store.ReadValue(kMachineHive, kWindowKey, L"Height", height, false, -1.0f);
    store.ReadValue(kMachineHive, kWindowKey, L"Top", top, false, -1.0f);
    store.ReadValue(kMachineHive, kWindowKey, L"Left", left, false, -1.0f);
    stored.placement = {top, left, height};
    store.ReadValue(kMachineHive, kWindowKey, L"OnTop", stored.onTop, false, true);
    store.ReadValue(kMachineHive, kWindowKey, L"KeepOpen", stored.keepOpen, false, true);
    store.ReadValue(kMachineHive, kWindowKey, L"C64Font", stored.c64Font, false, true);
    store.ReadValue(kMachineHive, kWindowKey, L"C64LowerCase", stored.c64LowerCase, false, false);
    store.ReadValue(kMachineHive, kIntegersKey, L"DefEmu", module.defaultEmu, false, int16_t{0});
    store.ReadValue(kMachineHive, kPathsKey, kArchiverRegistryValue, module.programPaths[kArchiver].path, true, L"");
    for (int i = 0; i < kEmulatorCount; ++i)
        store.ReadValue(kMachineHive, kPathsKey, kEmulators[i].registryValue, module.programPaths[i].path, true, L"");
    store.ReadValue(kMachineHive, kPathsKeyUpper, L"LastOpenPath", module.lastOpenPath, true, module.appDir);
    store.ReadValue(kMachineHive, kIntegersKeyUpper, L"LastFilterIndex", module.lastFilterIndex, false, int32_t{0});
    return stored;
}

RECT OuterRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

void PlaceWindow(MainWindow& window, const StoredPlacement& stored, bool firstInstance) {
    const RECT rect = OuterRect(window.hwnd);
    const double tx = window.twipsPerPixelX, ty = window.twipsPerPixelY;
    const ScreenAndWindow screen{GetSystemMetrics(SM_CXSCREEN) * tx, GetSystemMetrics(SM_CYSCREEN) * ty,
                                 (rect.right - rect.left) * tx, (rect.bottom - rect.top) * ty};
    std::mt19937 random(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double r1 = unit(random);
    const double r2 = unit(random);
    const Placement place = ResolvePlacement(stored, screen, firstInstance, r1, r2);
    MoveWindow(window.hwnd, TwipsX(window, place.left), TwipsY(window, place.top), rect.right - rect.left,
               TwipsY(window, place.height), TRUE);
}

// The window's normal place even while it is minimised.
RECT PlacementRect(HWND hwnd) {
    WINDOWPLACEMENT placement{sizeof placement};
    if (IsIconic(hwnd) && GetWindowPlacement(hwnd, &placement)) return placement.rcNormalPosition;
    return OuterRect(hwnd);
}

}  // namespace

void LoadSettings(MainWindow& window) {
    ModuleState& module = Module();
    const StoredWindowSettings stored = ReadSettings(module);
    CheckProgramPaths(window);
    PlaceWindow(window, stored.placement, module.firstInstance);
    SetMenuChecked(window, ids::kMnuOnTop, stored.onTop);
    ApplyOnTop(window);
    SetMenuChecked(window, ids::kMnuKeepOpen, stored.keepOpen);
    SetMenuChecked(window, ids::kMnuMult, module.multipleWindows);
    SetMenuChecked(window, ids::kMnuC64Font, stored.c64Font);
    SetMenuChecked(window, ids::kMnuC64LowerCase, stored.c64LowerCase);
}

void CheckProgramPaths(MainWindow& window) {
    ModuleState& module = Module();
    for (auto& program : module.programPaths) program.valid = Helper().CheckFile(program.path, false, kAppTitle);
    for (int i = 0; i < kEmulatorCount; ++i)
        EnableMenuItem(window.pmnuEmulators, ids::kPmnuEmuFirst + i,
                       MF_BYCOMMAND | (module.programPaths[i].valid ? MF_ENABLED : MF_GRAYED));
}

void SaveWindowPlacement(MainWindow& window) {
    if (!window.hwnd) return;
    const RECT rect = PlacementRect(window.hwnd);
    const RegistryStore store;
    store.WriteValue(kMachineHive, kWindowKey, L"Top", static_cast<float>(rect.top * window.twipsPerPixelY), false);
    store.WriteValue(kMachineHive, kWindowKey, L"Left", static_cast<float>(rect.left * window.twipsPerPixelX), false);
    store.WriteValue(kMachineHive, kWindowKey, L"Height",
                     static_cast<float>((rect.bottom - rect.top) * window.twipsPerPixelY), false);
}

void ApplyOnTop(MainWindow& window) {
    const bool onTop = IsMenuChecked(window, ids::kMnuOnTop);
    Helper().SetTopmost(onTop, window.hwnd);
    RegistryStore().WriteValue(kMachineHive, kWindowKey, L"OnTop", onTop, false);
}

void SaveKeepOpen(MainWindow& window) {
    RegistryStore().WriteValue(kMachineHive, kWindowKey, L"KeepOpen", IsMenuChecked(window, ids::kMnuKeepOpen), false);
}

void SaveC64Face(MainWindow& window) {
    const RegistryStore store;
    store.WriteValue(kMachineHive, kWindowKey, L"C64Font", IsMenuChecked(window, ids::kMnuC64Font), false);
    store.WriteValue(kMachineHive, kWindowKey, L"C64LowerCase", IsMenuChecked(window, ids::kMnuC64LowerCase), false);
}

void SaveMultiple(MainWindow& window) {
    const bool multiple = IsMenuChecked(window, ids::kMnuMult);
    RegistryStore().WriteValue(kMachineHive, kWindowKey, L"Multiple", multiple, false);
    Module().multipleWindows = multiple;
}

}  // namespace floppex
