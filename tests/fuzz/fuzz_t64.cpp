// Tape image reader on arbitrary bytes; the "C64" signature is put in front half of the time so
// that the directory code is reached.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "c64/t64_image.h"

namespace {

void Check(std::vector<uint8_t> bytes) {
    floppex::T64Image image;
    if (!image.Load(bytes)) return;
    volatile size_t sink = image.HeaderText1().size() + image.HeaderText2().size() +
                           static_cast<size_t>(image.HeaderNumber1() + image.HeaderNumber2());
    const auto& entries = image.Entries();
    for (int32_t n = 1; n <= entries.Count(); ++n) {
        const auto& e = entries.Item(n);
        const auto data = image.ProgramData(static_cast<size_t>(n));
        if (data.size() != 2 + e.DataSize() && e.offset + e.DataSize() <= bytes.size()) __builtin_trap();
        sink = sink + e.Name().Ascii().size() + e.Name().Unicode().size() + data.size();
    }
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    Check(bytes);
    if (size > 3) {
        bytes[0] = 'C';
        bytes[1] = '6';
        bytes[2] = '4';
        Check(bytes);
    }
    return 0;
}
