#pragma once
// UTF-16 for the window from the UTF-8 the C64 components give, and back.
#include <string>
#include <string_view>

namespace floppex {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);

}  // namespace floppex
