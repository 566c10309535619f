#pragma once
// Polling with an upper bound: the bound only keeps a broken program from hanging the tests.
#include <functional>

namespace floppex::e2e {

// Generous bound for anything the program should do "soon".
inline constexpr unsigned kPatienceMs = 15000;

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = kPatienceMs);

}  // namespace floppex::e2e
