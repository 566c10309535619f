#pragma once
// The remembered entry per game file name, kept in Floppex.ini.
#include <cstdint>
#include <string_view>

#include "window/main_window.h"

namespace floppex {

// The 0-based entry remembered under key; -1 when none is.
int32_t ReadGameIndex(const MainWindow& window, std::wstring_view key);
void WriteGameIndex(const MainWindow& window, std::wstring_view key, int32_t index);

}  // namespace floppex
