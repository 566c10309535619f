#pragma once
// The main window: its controls, the state of the listed file and its operations.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/lifecycle_logic.h"

namespace floppex {

// Every instance's title and the main window's caption once start-up has set it; a second start
// finds the running window by this caption.
inline constexpr std::wstring_view kAppTitle = L"Floppex!";
// The caption the window is created with, so that a start never finds its own window.
inline constexpr std::wstring_view kInitialCaption = L"Floppex";
inline constexpr std::wstring_view kWindowClass = L"ThunderRT6FormDC";


struct MainWindow {
    HWND hwnd = nullptr;
    HWND lblFilename = nullptr, lblInfo = nullptr, lvGame = nullptr, cmdPlay = nullptr;
    HMENU mnuFile = nullptr;        // the window's popup menu
    HMENU pmnuEmulators = nullptr;  // the Play button's popup menu
    HFONT font = nullptr;
    int twipsPerPixelX = 15, twipsPerPixelY = 15;

    std::wstring requestPath;  // as last requested; for an archive the archive
    std::wstring gamePath;     // the file listed and played
    int32_t gameIndex = 0;     // 0-based chosen entry
    std::wstring gameIndexFile;

    bool listing = false;   // rows are being rebuilt: selection changes are not the user's
    bool unloaded = false;  // shut-down has run; the window is going away
    bool busy = false;      // an archive is being unpacked: the pointer stays an hourglass
    bool handlingRequest = false;                // HandleRequest is running
    bool acceptsDrops = false;  // OLE is started and the list is a drop target
    std::vector<std::wstring> waitingRequests;  // handed over meanwhile, handled after it
};

// Window creation and controls (contents/main_layout.cpp).
bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance, MainWindow& window);
void BuildControls(MainWindow& window);
void LayoutControls(MainWindow& window);
bool IsMenuChecked(const MainWindow& window, int command);
void SetMenuChecked(MainWindow& window, int command, bool checked);
void ResetView(MainWindow& window);
void SuspendTopmost(MainWindow& window);
void RestoreTopmost(MainWindow& window);
int TwipsX(const MainWindow& window, double twips);
int TwipsY(const MainWindow& window, double twips);

// Commands of the menus, the keys and the Play button (contents/main_commands.cpp).
void OnCommand(MainWindow& window, int id);
// A key pressed anywhere in the window; true when it was one of the window's own keys.
bool OnKeyDown(MainWindow& window, UINT key);
void ShowHelp(MainWindow& window);

// Start-up and shut-down (app/startup.cpp).
enum class StartOutcome { Running, HandedOver };
StartOutcome Startup(MainWindow& window, const std::wstring& commandTail);
void Unload(MainWindow& window);

// The message loop, until the window is unloaded (app/message_loop.cpp).
int RunMessageLoop(MainWindow& window);
// Runs the window messages that are waiting; false when the window was unloaded meanwhile.
bool PumpPendingMessages(MainWindow& window);

// Requests, listing and launching.
void HandleRequest(MainWindow& window, std::wstring request);
void OpenGameFile(MainWindow& window);
void ShowContents(MainWindow& window, std::wstring path);
void RunGame(MainWindow& window, int16_t emu);

// Settings and the game index file.
void LoadSettings(MainWindow& window);
// Notes which configured programs exist and enables the emulator menu's entries to match.
void CheckProgramPaths(MainWindow& window);
void SaveWindowPlacement(MainWindow& window);
void ApplyOnTop(MainWindow& window);
void SaveKeepOpen(MainWindow& window);
void SaveMultiple(MainWindow& window);
int32_t ReadGameIndex(const MainWindow& window, std::wstring_view key);
void WriteGameIndex(const MainWindow& window, std::wstring_view key, int32_t index);
void RegisterFileTypes();

// UTF-16 for the window from the UTF-8 the C64 components give.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);

}  // namespace floppex
