// GZ reader on arbitrary bytes: one member at most, never beyond the cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/gzip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    floppex::archive::ExtractLimits limits;
    limits.maxMemberBytes = 1 << 20;
    const auto result = floppex::archive::ReadGzip({data, size}, limits);
    if (result.members.size() > 1) abort();
    if (result.ok() != (result.members.size() == 1)) abort();
    if (!result.members.empty() && result.members[0].data.size() > limits.maxMemberBytes) abort();
    return 0;
}
