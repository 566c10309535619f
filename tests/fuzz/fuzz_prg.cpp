// Program-file reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "c64/prg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    floppex::PrgFile prg;
    if (!prg.Load({data, size})) return 0;
    if (prg.Size() != size || prg.AddressText1().size() != 5) __builtin_trap();
    volatile size_t sink = prg.SizeText().size() + prg.AddressText2().size() + prg.LoadAddress();
    (void)sink;
    return 0;
}
