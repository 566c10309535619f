#pragma once
// Decisions of the hand-off between instances and of shut-down.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace floppex {

// UTF-16 code units to take from a received block of byteCount bytes: an odd last byte is
// dropped; nothing is taken without data or from a block of 2^31 bytes or more.
size_t HandoffUnits(uint64_t byteCount, bool hasData);

// Shut-down remembers the chosen entry only for a shown window with a loaded game that holds
// several entries (not a single-program .PRG or .P00).
bool RemembersEntryOnClose(bool visible, std::wstring_view fileNameLabel, std::wstring_view requestPath);

}  // namespace floppex
