#include "options/options_logic.h"

#include "window/emulator_catalogue.h"

namespace floppex {

int ListPositionForDefault(int16_t defaultEmu) {
    return defaultEmu >= 0 && defaultEmu < kEmulatorCount ? defaultEmu : 0;
}

DefaultCheck CheckDefaultEmulator(std::span<const std::wstring> emulatorPaths, int selected) {
    if (selected >= 0 && static_cast<size_t>(selected) < emulatorPaths.size() && !emulatorPaths[selected].empty())
        return {DefaultVerdict::Accept, selected};
    int configured = -1;
    for (size_t i = 0; i < emulatorPaths.size(); ++i) {
        if (emulatorPaths[i].empty()) continue;
        if (configured >= 0) return {DefaultVerdict::Refuse, selected};
        configured = static_cast<int>(i);
    }
    if (configured < 0) return {DefaultVerdict::Accept, selected};
    return {DefaultVerdict::SelectOnlyOne, configured};
}

}  // namespace floppex
