#include "tests/e2e_test.h"

#include <cmath>

namespace floppex::e2e {

int TwipsToPixels(double twips, bool vertical) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const double twipsPerPixel = std::nearbyint(1440.0 / dpi);
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

std::wstring ConfigureFakeEmulator(const ProgramFolder& folder) {
    const std::wstring emulator = folder.File(L"emulator\\ccs64.exe");
    CreateDirectoryW(folder.File(L"emulator").c_str(), nullptr);
    EXPECT_TRUE(CopyOneFile(FakeEmulatorExe(), emulator));
    WriteString(HKEY_LOCAL_MACHINE, kPathsKey, L"CCS64v109Path", emulator);
    return emulator;
}

}  // namespace floppex::e2e
