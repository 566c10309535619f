#include "launch/flip_list.h"

#include <fstream>
#include <vector>

#include "emulator/emulator_command.h"
#include "window/module_state.h"

namespace floppex {

namespace {

// text in the system's code page; lost is set when a letter has no place in it.
std::string CodePageText(const std::wstring& text, BOOL& lost) {
    lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lost);
    std::string converted(static_cast<size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, converted.data(), size, nullptr, &lost);
    converted.resize(converted.size() - 1);
    return converted;
}

// A path as VICE opens it from the list: in the system's code page, or in its short form where a
// letter of it has no place there.
std::string ListedPath(const std::wstring& path) {
    BOOL lost = FALSE;
    const std::string text = CodePageText(path, lost);
    std::wstring shortPath(32768, L'\0');
    const DWORD length = lost ? GetShortPathNameW(path.c_str(), shortPath.data(), 32768) : 0;
    if (length == 0 || length >= 32768) return text;
    shortPath.resize(length);
    return CodePageText(shortPath, lost);
}

}  // namespace

std::wstring WriteFlipList(const MainWindow& window) {
    const DiskSet& set = window.diskSet;
    if (set.paths.size() < 2) return L"";
    std::vector<std::string> disks;
    for (const std::wstring& path : set.paths) disks.push_back(ListedPath(path));
    const std::wstring list = Module().dataDir + L"currgame.vfl";
    std::ofstream file(list.c_str(), std::ios::binary | std::ios::trunc);
    file << ViceFlipList(disks, set.shown);
    return file.flush() ? list : L"";
}

}  // namespace floppex
