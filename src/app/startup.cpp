// Start-up (the main window's load) and shut-down (its unload).
#include "app/startup.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/instance_handoff.h"
#include "app/lifecycle_logic.h"
#include "app/window_hooks.h"
#include "components/system/registry_store.h"
#include "launch/handle_request.h"
#include "open/drop_target.h"
#include "settings/game_index_file.h"
#include "settings/registry_keys.h"
#include "settings/settings_store.h"
#include "shell/file_types.h"
#include "window/control_ids.h"
#include "window/module_state.h"
#include "window/twips.h"
#include "window/window_services.h"

namespace floppex {

namespace {

constexpr double kStartWidthTwips = 3360, kStartHeightTwips = 4335;
constexpr double kClientWidthTwips = 3240, kClientHeightTwips = 3975;

bool ReadMultipleWindows() {
    bool multiple = false;
    RegistryStore().ReadValue(kMachineHive, kWindowKey, L"Multiple", multiple, false, false);
    return multiple;
}

void DisableSwitchesOfSecondWindow(MainWindow& window) {
    for (int command : {ids::kMnuOptions, ids::kMnuKeepOpen, ids::kMnuOnTop, ids::kMnuMult, ids::kMnuC64Font,
                        ids::kMnuC64LowerCase})
        EnableMenuItem(window.mnuFile, command, MF_BYCOMMAND | MF_GRAYED);
}

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// Resizes unless the window has that size already.
void SetOuterSize(HWND hwnd, int width, int height) {
    const RECT rect = WindowRect(hwnd);
    if (rect.right - rect.left == width && rect.bottom - rect.top == height) return;
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Outer size = start size + wanted client size - client size measured at the start size: the frame
// differs with the system and the resolution (at 144 dpi it is not 120 x 360 twips). The window is
// created at its start size, so it is measured as it comes; one resize then sets both sides, and
// the controls are laid out once. Returns the outer width, which the window keeps.
int SizeWindow(MainWindow& window) {
    const int startWidth = TwipsX(window, kStartWidthTwips);
    const int startHeight = TwipsY(window, kStartHeightTwips);
    SetOuterSize(window.hwnd, startWidth, startHeight);
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const int width = startWidth + TwipsX(window, kClientWidthTwips) - client.right;
    SetOuterSize(window.hwnd, width, startHeight + TwipsY(window, kClientHeightTwips) - client.bottom);
    return width;
}

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return L".\\";
        if (length < buffer.size()) {
            std::wstring folder, name;
            Helper().SplitPath(std::wstring_view(buffer.data(), length), folder, name);
            if (folder.empty() || folder.back() != L'\\') folder += L'\\';
            return folder;
        }
        buffer.resize(buffer.size() * 4);
    }
    return L".\\";
}

bool CanCreateFilesIn(const std::wstring& folder) {
    const std::wstring probe = folder + L"Floppex.probe-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// The program folder, unless it cannot be written (a user without administrator rights under
// "Program Files"): then the user's own application-data folder "Floppex".
std::wstring DataFolder(const std::wstring& appDir) {
    if (CanCreateFilesIn(appDir)) return appDir;
    wchar_t base[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base)))
        return appDir;
    const std::wstring folder = std::wstring(base) + L"\\Floppex\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void InitState(MainWindow& window) {
    Module().windowHelper = std::make_unique<WindowHelper>();
    window.requestPath.clear();
    window.gameIndexFile = Module().dataDir + L"Floppex.ini";
    window.gameIndex = 0;
}

}  // namespace

StartOutcome Startup(MainWindow& window, const std::wstring& commandTail) {
    ModuleState& module = Module();
    module.multipleWindows = ReadMultipleWindows();
    // The application title is the constant kAppTitle; it becomes the caption in the next steps.
    const bool anotherRunning = AnotherInstanceRunning();
    if (!module.multipleWindows && anotherRunning) {
        FindRunningInstance(kAppTitle, commandTail, window.hwnd);
        return StartOutcome::HandedOver;
    }
    module.firstInstance = !anotherRunning;
    if (anotherRunning) DisableSwitchesOfSecondWindow(window);
    SetWindowTextW(window.hwnd, kAppTitle.data());
    AttachMessageHook(window.hwnd);

    module.sizeLimits = ComputeSizeLimits(SizeWindow(window), window.twipsPerPixelY, GetSystemMetrics(SM_CYSCREEN));
    HookWindow(window.hwnd);

    module.appDir = ProgramFolder();
    module.dataDir = DataFolder(module.appDir);
    InitState(window);
    LoadSettings(window);
    HandleRequest(window, commandTail);
    return StartOutcome::Running;
}

IdleSteps AfterStart(MainWindow& window) {
    return [&window, dropsAccepted = false, registration = FileTypeRegistration()]() mutable {
        if (dropsAccepted) return registration.Step();
        dropsAccepted = true;
        if (!window.unloaded) AcceptListDrops(window, HandleRequest);
        return true;
    };
}

void ShutDown(MainWindow& window) {
    if (window.unloaded) return;
    window.unloaded = true;
    wchar_t label[64] = L"";
    GetWindowTextW(window.lblFilename, label, 64);
    if (RemembersEntryOnClose(IsWindowVisible(window.hwnd), label, window.requestPath))
        WriteGameIndex(window, ShownGameKey(window), window.gameIndex);
    SaveWindowPlacement(window);
    UnhookWindow(window.hwnd);
    Module().windowHelper.reset();
    DestroyWindow(window.hwnd);
}

}  // namespace floppex
