#pragma once
// Common ground of the end-to-end tests: a clean registry before each test and small helpers.
#include <gtest/gtest.h>

#include <string>

#include "driver/app_process.h"
#include "driver/main_window_view.h"
#include "driver/paths.h"
#include "driver/program_folder.h"
#include "driver/registry.h"
#include "driver/waiting.h"
#include "driver/window_finder.h"

namespace floppex::e2e {

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override { ResetRegistry(); }
};

inline constexpr wchar_t kNoGameLoaded[] = L"No Game Loaded";
inline constexpr wchar_t kRightClickToLoad[] = L"Right-click to Load";

// Pixels of a length in twips on this screen (rounded to nearest).
int TwipsToPixels(double twips, bool vertical);

// The program's window once its file label reads `label`; null when it never did.
HWND WaitForListing(const AppProcess& app, const std::wstring& label);

}  // namespace floppex::e2e
