#include "window/module_state.h"

namespace floppex {

ModuleState& Module() {
    static ModuleState state;
    return state;
}

const WindowHelper& Helper() {
    static const WindowHelper standIn;
    const auto& helper = Module().windowHelper;
    return helper ? *helper : standIn;
}

}  // namespace floppex
