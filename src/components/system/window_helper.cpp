#include "components/system/window_helper.h"

#include "emulator/path_parts.h"

namespace floppex {

namespace {

// A path longer than this is shown cut, so that the message box still fits on the screen.
constexpr size_t kLongestPathShown = 260;

std::wstring PathForMessage(const std::wstring& path) {
    return path.size() <= kLongestPathShown ? path : path.substr(0, kLongestPathShown) + L"...";
}

}  // namespace

void WindowHelper::SplitPath(std::wstring_view path, std::wstring& folder, std::wstring& name) const {
    const PathParts parts = SplitPathParts(path);
    folder = parts.folder;
    name = parts.name;
}

std::wstring WindowHelper::GetFileName(std::wstring_view path) const {
    std::wstring folder, name;
    SplitPath(path, folder, name);
    return name;
}

// The erasing of what the change uncovers waits for the next paint: otherwise a list just filled
// and marked for drawing would be drawn there and then, in the middle of the caller's work.
void WindowHelper::SetTopmost(bool topmost, HWND window) const {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_DEFERERASE);
}

bool WindowHelper::IsCdDrive(std::wstring_view drive) const {
    if (drive.size() < 2 || drive[1] != L':') return false;
    const wchar_t letter = drive[0];
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) return false;
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_CDROM;
}

bool WindowHelper::CheckFile(std::wstring_view path, bool report, std::wstring_view title) const {
    const std::wstring file(path);
    const DWORD attributes = file.empty() || file.find(L'\0') != std::wstring::npos
                                 ? INVALID_FILE_ATTRIBUTES
                                 : GetFileAttributesW(file.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!exists && report) {
        const std::wstring text = file.empty() ? L"No file name was given." : L"File not found:\n" + PathForMessage(file);
        MessageBoxW(GetActiveWindow(), text.c_str(), std::wstring(title).c_str(), MB_OK | MB_ICONINFORMATION);
    }
    return exists;
}

}  // namespace floppex
