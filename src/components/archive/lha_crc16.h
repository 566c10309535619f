#pragma once
// The CRC-16 of LHA archives (polynomial 0x8005, reflected, initial value 0).
#include <cstdint>
#include <span>

namespace floppex::archive {

uint16_t LhaCrc16(std::span<const uint8_t> bytes, uint16_t crc = 0);

}  // namespace floppex::archive
