#pragma once
// Sizes of C64 program files as shown to the user.
#include <cstddef>
#include <string>

namespace floppex {

// Kilobytes (1024 bytes) with one decimal and '.' as the separator, rounded half up:
// 1229 bytes give "1.2", 100 bytes "0.1", 2 bytes "0.0".
std::string KilobyteText(size_t bytes);

}  // namespace floppex
