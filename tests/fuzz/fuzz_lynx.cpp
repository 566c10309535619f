// Lynx reader on arbitrary bytes; whatever it reads is written to a disk image, as extraction does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/d64_writer.h"
#include "archive/lynx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    floppex::archive::ExtractLimits limits;
    limits.maxMemberBytes = 1 << 20;
    limits.maxTotalBytes = 4 << 20;
    const auto result = floppex::archive::ReadLynx({data, size}, limits);
    if (!result.ok()) {
        if (!result.files.empty()) abort();
        return 0;
    }
    for (const auto& f : result.files) {
        if (f.name.size() > 16 || f.data.size() > limits.maxMemberBytes) abort();
    }
    const uint8_t name[] = {'F', 'U', 'Z', 'Z'};
    const auto disk = floppex::archive::WriteD64(result.files, name, name);
    if (disk.ok() && disk.image.size() != 174848) abort();
    return 0;
}
