// ZIP reader on arbitrary bytes, with and without a member filter; what comes out stays in the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    floppex::archive::ExtractLimits limits;
    limits.maxMemberBytes = 1 << 20;
    limits.maxTotalBytes = 4 << 20;
    limits.maxMembers = 64;
    const bool filtered = size > 0 && (data[0] & 1);
    const auto result = floppex::archive::ReadZip(
        {data, size}, limits, filtered ? floppex::archive::MemberFilter([](std::string_view n) { return n.size() % 2 == 0; })
                                       : floppex::archive::MemberFilter());
    size_t total = 0;
    for (const auto& m : result.members) {
        if (m.data.size() > limits.maxMemberBytes || (filtered && m.name.size() % 2 != 0)) abort();
        total += m.data.size();
    }
    if (total > limits.maxTotalBytes || result.members.size() > limits.maxMembers) abort();
    return 0;
}
