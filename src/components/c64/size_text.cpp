#include "c64/size_text.h"

#include <cstdio>

namespace floppex {

std::string KilobyteText(size_t bytes) {
    const uint64_t tenths = (static_cast<uint64_t>(bytes) * 10 + 512) / 1024;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string AddressText(uint16_t address) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", static_cast<unsigned>(address));
    return text;
}

}  // namespace floppex
