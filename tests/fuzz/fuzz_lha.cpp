// Feeds any bytes to the LHA reader as an archive, and to one of the decoders as packed data.
#include <cstddef>
#include <cstdint>
#include <span>

#include "archive/lha_decoders.h"
#include "archive/lha_reader.h"

using namespace floppex::archive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    ExtractLimits limits;
    limits.maxMemberBytes = 1u << 20;
    limits.maxTotalBytes = 2u << 20;
    limits.maxMembers = 64;
    ReadResult result = ReadLha(bytes, limits);
    size_t total = 0;
    for (const auto& member : result.members) total += member.data.size();
    if (total > limits.maxTotalBytes || result.members.size() > limits.maxMembers) __builtin_trap();
    if (result.ok() != (result.error == ReadError::None)) __builtin_trap();

    // The first three bytes choose a decoder and the unpacked size; the rest is its input.
    if (size < 3) return 0;
    size_t outSize = size_t{data[1]} << 8 | data[2];
    auto packed = bytes.subspan(3);
    std::vector<uint8_t> out;
    bool ok = false;
    switch (data[0] % 7) {
    case 0: ok = DecodeLh1(packed, outSize, out); break;
    case 1: ok = DecodeLh5(packed, 12, outSize, out); break;
    case 2: ok = DecodeLh5(packed, 13, outSize, out); break;
    case 3: ok = DecodeLh5(packed, 15, outSize, out); break;
    case 4: ok = DecodeLh5(packed, 16, outSize, out); break;
    case 5: ok = DecodeLz5(packed, outSize, out); break;
    default: ok = DecodeLzs(packed, outSize, out); break;
    }
    if (ok && out.size() != outSize) __builtin_trap();
    return 0;
}
