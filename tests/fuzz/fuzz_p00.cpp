// PC64 reader on arbitrary bytes, with and without a good signature in front.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "c64/p00_file.h"

namespace {

void Check(const std::vector<uint8_t>& bytes) {
    floppex::P00File file;
    if (!file.Load(bytes)) return;
    if (file.DataSize() + floppex::P00File::kHeaderSize != bytes.size()) __builtin_trap();
    volatile size_t sink = file.Name().Ascii().size() + file.Name().Unicode().size() + file.SizeText().size() +
                           file.LoadAddress();
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    Check(bytes);
    const char signature[8] = {'C', '6', '4', 'F', 'i', 'l', 'e', '\0'};
    bytes.insert(bytes.begin(), signature, signature + 8);
    Check(bytes);
    return 0;
}
