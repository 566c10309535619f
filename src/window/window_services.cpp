#include "window/window_services.h"

namespace floppex {

namespace {

WindowServices& Services() {
    static WindowServices services;
    return services;
}

}  // namespace

void SetWindowServices(const WindowServices& services) { Services() = services; }

void Unload(MainWindow& window) { Services().unload(window); }

bool PumpPendingMessages(MainWindow& window) { return Services().pumpPendingMessages(window); }

}  // namespace floppex
