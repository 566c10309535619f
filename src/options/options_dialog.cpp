// The options dialog. It edits a private copy of the program paths; OK commits the copy, the
// chosen default and the WinZip path at once, Cancel, Esc and the close box throw them away.
#include "options/options_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <span>
#include <string>
#include <vector>

#include "components/system/registry_store.h"
#include "open/file_choice_logic.h"
#include "options/options_logic.h"
#include "settings/registry_keys.h"
#include "settings/settings_store.h"
#include "window/control_ids.h"
#include "window/dialog_frame.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/topmost.h"

namespace floppex {

namespace {

constexpr double kClientWidth = 4680, kClientHeight = 3735;
constexpr int kLabelId = -1;  // labels that nothing refers to
constexpr size_t kBrowseBufferLength = 32768;

constexpr wchar_t kEmulatorHelp[] =
    L"The Emulator showing above will be the default emulator and will be used when running games from "
    L"Windows Explorer, or when you click the 'Play Game' button in Floppex's viewport.  To play a game with a "
    L"different emulator, right-click the 'Play Game' button in Floppex's viewport and select the emulator from "
    L"the popup menu.";
constexpr wchar_t kWinZipHelp[] =
    L"This is an optional path and is used only for unzipping games packed with GZ compression.  If this path "
    L"is omitted, Floppex will attempt to use gunzip.exe.";

struct OptionsDialog {
    MainWindow* window = nullptr;
    HFONT font = nullptr;
    std::array<std::wstring, kProgramPathCount> workPaths;
    std::wstring winZipPath;    // the WinZip path being edited, "" when not set
    std::wstring browseFolder;  // where the Open box opens when the path shown names no file
    HWND lstEmu = nullptr, lblEmu = nullptr, lblWinzipPath = nullptr;
};

const wchar_t* Shown(const std::wstring& path) { return path.empty() ? kPathPlaceholder.data() : path.c_str(); }

int SelectedEmulator(const OptionsDialog& options) {
    return static_cast<int>(SendMessageW(options.lstEmu, CB_GETCURSEL, 0, 0));
}

// The list's selection shows that emulator's path.
void OnSelect(OptionsDialog& options) {
    const int selected = SelectedEmulator(options);
    if (selected >= 0 && selected < kEmulatorCount) SetWindowTextW(options.lblEmu, Shown(options.workPaths[selected]));
}

void Select(OptionsDialog& options, int emulator) {
    SendMessageW(options.lstEmu, CB_SETCURSEL, static_cast<WPARAM>(emulator), 0);
    OnSelect(options);
}

void OnInitDialog(HWND dialog, OptionsDialog& options) {
    const MainWindow& window = *options.window;
    FitClientAndCentre(window, dialog, kClientWidth, kClientHeight);
    const ModuleState& module = Module();
    for (size_t i = 0; i < options.workPaths.size(); ++i) options.workPaths[i] = module.programPaths[i].path;
    options.winZipPath = module.programPaths[kArchiver].path;
    options.font = CreateDialogFont(window.font);

    const auto add = [&](const wchar_t* className, std::wstring_view text, DWORD style, int id, TwipsRect place) {
        return AddControl(window, dialog, className, text, style, id, place, options.font);
    };
    constexpr DWORD kPathLabel = SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY | WS_BORDER;
    // Created in the tab order: list, emulator Clear, WinZip Clear, OK, Cancel.
    add(L"STATIC", L"Default Emulator:", SS_LEFT, kLabelId, {120, 120, 2055, 180});
    options.lstEmu = add(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, ids::kLstEmu,
                         {120, 300, 4455, 3000});
    add(L"STATIC", L"Emulator Path:", SS_LEFT, kLabelId, {120, 600, 2055, 180});
    options.lblEmu = add(L"STATIC", L"", kPathLabel, ids::kLblEmu, {120, 780, 3855, 195});
    add(L"BUTTON", L"Clear", BS_PUSHBUTTON | WS_TABSTOP, ids::kCmdClearEmu, {3960, 780, 615, 195});
    add(L"STATIC", kEmulatorHelp, SS_LEFT | SS_NOPREFIX, kLabelId, {120, 1080, 4455, 855});
    add(L"STATIC", L"", SS_ETCHEDHORZ, kLabelId, {120, 2040, 4440, 30});
    add(L"STATIC", L"Winzip Path (Preferred):", SS_LEFT, kLabelId, {120, 2160, 2895, 180});
    options.lblWinzipPath = add(L"STATIC", Shown(options.winZipPath), kPathLabel, ids::kLblWinzipPath,
                                {120, 2340, 3855, 195});
    add(L"BUTTON", L"Clear", BS_PUSHBUTTON | WS_TABSTOP, ids::kCmdClearWZPath, {3960, 2340, 615, 195});
    add(L"STATIC", kWinZipHelp, SS_LEFT | SS_NOPREFIX, kLabelId, {120, 2640, 4455, 495});
    add(L"BUTTON", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, {2280, 3240, 1095, 375});
    add(L"BUTTON", L"&Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, {3480, 3240, 1095, 375});

    for (const EmulatorInfo& emulator : kEmulators)
        SendMessageW(options.lstEmu, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(emulator.listCaption).c_str()));
    Select(options, ListPositionForDefault(module.defaultEmu));
}

void FocusOn(HWND dialog, HWND control) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// The Open box for one program file. path is what the label shows; it changes only when the
// user picks a file.
bool BrowseForProgram(HWND dialog, OptionsDialog& options, std::wstring_view title, std::wstring_view filter,
                      std::wstring& path) {
    std::vector<wchar_t> name(kBrowseBufferLength, L'\0');
    const size_t lastSeparator = path.rfind(L'\\');
    if (Helper().CheckFile(path, false, kAppTitle) && lastSeparator != std::wstring::npos &&
        path.size() < name.size()) {
        options.browseFolder = path.substr(0, lastSeparator);
        path.copy(name.data(), path.size());
    }
    const std::wstring filterText = DialogFilter(filter);
    const std::wstring titleText(title);
    OPENFILENAMEW box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = dialog;
    box.lpstrFilter = filterText.c_str();
    box.nFilterIndex = 0;
    box.lpstrFile = name.data();
    box.nMaxFile = static_cast<DWORD>(name.size());
    box.lpstrInitialDir = options.browseFolder.empty() ? nullptr : options.browseFolder.c_str();
    box.lpstrTitle = titleText.c_str();
    box.Flags = kBrowseFlags;
    if (!GetOpenFileNameW(&box)) return false;
    path = name.data();
    return true;
}

void OnEmulatorPathClick(HWND dialog, OptionsDialog& options) {
    const int selected = SelectedEmulator(options);
    if (selected < 0 || selected >= kEmulatorCount) return;
    std::wstring path = options.workPaths[selected];
    if (!BrowseForProgram(dialog, options, kEmulators[selected].browseTitle, kEmulators[selected].browseFilter, path))
        return;
    if (Helper().IsCdDrive(std::wstring_view(path).substr(0, 2))) {
        Tell(dialog, L"Emulators cannot be run from a CD when using Floppex!");
        return;
    }
    options.workPaths[selected] = path;
    SetWindowTextW(options.lblEmu, Shown(path));
}

void OnWinZipPathClick(HWND dialog, OptionsDialog& options) {
    std::wstring path = options.winZipPath;
    if (!BrowseForProgram(dialog, options, kArchiverBrowseTitle, kArchiverBrowseFilter, path)) return;
    options.winZipPath = path;
    SetWindowTextW(options.lblWinzipPath, Shown(path));
}

void OnClearEmulator(HWND dialog, OptionsDialog& options) {
    const int selected = SelectedEmulator(options);
    if (selected >= 0 && selected < kEmulatorCount) options.workPaths[selected].clear();
    SetWindowTextW(options.lblEmu, kPathPlaceholder.data());
    FocusOn(dialog, GetDlgItem(dialog, IDOK));
}

void OnClearWinZip(HWND dialog, OptionsDialog& options) {
    options.winZipPath.clear();
    SetWindowTextW(options.lblWinzipPath, kPathPlaceholder.data());
    FocusOn(dialog, GetDlgItem(dialog, IDOK));
}

void StoreInRegistry(const ModuleState& module) {
    const RegistryStore store;
    store.WriteValue(kMachineHive, kIntegersKey, L"DefEmu", module.defaultEmu, false);
    store.WriteValue(kMachineHive, kPathsKey, kArchiverRegistryValue, module.programPaths[kArchiver].path, true);
    for (int i = 0; i < kEmulatorCount; ++i)
        store.WriteValue(kMachineHive, kPathsKey, kEmulators[i].registryValue, module.programPaths[i].path, true);
}

void OnOk(HWND dialog, OptionsDialog& options) {
    const DefaultCheck check =
        CheckDefaultEmulator(std::span(options.workPaths.data(), kEmulatorCount), SelectedEmulator(options));
    if (check.verdict == DefaultVerdict::Refuse) {
        Warn(dialog, L"You must set a valid Default Emulator to use with Floppex!");
        FocusOn(dialog, options.lstEmu);
        return;
    }
    if (check.verdict == DefaultVerdict::SelectOnlyOne) Select(options, check.emulator);
    ModuleState& module = Module();
    for (size_t i = 0; i < options.workPaths.size(); ++i) module.programPaths[i].path = options.workPaths[i];
    module.defaultEmu = static_cast<int16_t>(check.emulator);
    module.programPaths[kArchiver].path = options.winZipPath;
    StoreInRegistry(module);
    CheckProgramPaths(*options.window);
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, OptionsDialog& options, int id, int code) {
    switch (id) {
    case ids::kLstEmu: if (code == CBN_SELCHANGE) OnSelect(options); break;
    case ids::kLblEmu: if (code == STN_CLICKED) OnEmulatorPathClick(dialog, options); break;
    case ids::kLblWinzipPath: if (code == STN_CLICKED) OnWinZipPathClick(dialog, options); break;
    case ids::kCmdClearEmu: OnClearEmulator(dialog, options); break;
    case ids::kCmdClearWZPath: OnClearWinZip(dialog, options); break;
    case IDOK: OnOk(dialog, options); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    }
}

// The path labels have the window colour of an entry field.
INT_PTR OnColour(HDC dc, HWND label) {
    const int id = GetDlgCtrlID(label);
    const int colour = id == ids::kLblEmu || id == ids::kLblWinzipPath ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(colour));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(colour));
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* options = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        OnInitDialog(dialog, *reinterpret_cast<OptionsDialog*>(lParam));
        return TRUE;  // the focus goes to the list
    case WM_COMMAND:
        if (options) OnCommand(dialog, *options, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return ShowHandOverClickable(dialog, reinterpret_cast<HWND>(wParam), {ids::kLblEmu, ids::kLblWinzipPath});
    }
    return FALSE;
}

}  // namespace

bool ShowOptions(MainWindow& window) {
    SuspendTopmost(window);
    OptionsDialog options;
    options.window = &window;
    const bool ok = RunModalDialog(window, L"Floppex! Options...", OptionsProc, &options) == IDOK;
    DeleteObject(options.font);
    if (!window.unloaded) RestoreTopmost(window);
    return ok;
}

}  // namespace floppex
