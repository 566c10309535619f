#pragma once
// The request is whatever follows the program's own name on the command line.
#include <string>
#include <string_view>

namespace floppex {

// Skips the program name (quoted or bare) and the blanks after it; the rest is returned as it
// came, quotes and inner blanks kept.
std::wstring CommandTail(std::wstring_view commandLine);

}  // namespace floppex
