#pragma once
// The remembered entry of a game file is stored as its 1-based number in decimal text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace floppex {

// The number at the start of text, read leniently: leading blanks skipped, then the longest
// decimal number (sign, digits, fraction, exponent); 0 when text does not start with one.
double LeadingNumber(std::wstring_view text);

// The 0-based entry for a stored value; -1 when none is remembered (missing, "0", not a
// number, negative, or too large for a 32-bit index).
int32_t GameIndexFromStored(std::wstring_view stored);

// The text stored for a 0-based entry.
std::wstring StoredFromGameIndex(int32_t index);

}  // namespace floppex
