#include "driver/waiting.h"

#include <windows.h>

namespace floppex::e2e {

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

}  // namespace floppex::e2e
