#pragma once
// The remembered entry per game file name, kept in Floppex.ini.
#include <cstdint>
#include <string>
#include <string_view>

#include "window/main_window.h"

namespace floppex {

// The 0-based entry remembered under key; -1 when none is.
int32_t ReadGameIndex(const MainWindow& window, std::wstring_view key);
void WriteGameIndex(const MainWindow& window, std::wstring_view key, int32_t index);

// The key of the listed file's remembered entry: the requested file's name; for a disk of a set its
// own name, or for one in an archive the archive's name (first disk) or the archive's name, "|" and
// the disk's name (the others).
std::wstring ShownGameKey(const MainWindow& window);

// The name of the disk last played of the set in the archive named archiveName; "" for none.
std::wstring ReadLastDisk(const MainWindow& window, std::wstring_view archiveName);
void WriteLastDisk(const MainWindow& window, std::wstring_view archiveName, std::wstring_view diskName);

}  // namespace floppex
