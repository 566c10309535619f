#include "c64/size_text.h"

#include <cstdio>

namespace floppex {

std::string KilobyteText(size_t bytes) {
    const uint64_t tenths = (static_cast<uint64_t>(bytes) * 10 + 512) / 1024;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string HexText(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "$%0*X", digits, static_cast<unsigned>(value));
    return text;
}

}  // namespace floppex
