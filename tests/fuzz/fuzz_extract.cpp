// The whole in-memory extraction on arbitrary bytes, under each archive name it may get: a success
// always names a C64 file type and stays within the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/archive_unpacker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kNames[] = {"game.zip", "game.lha", "game.lnx", "game.d64.gz", "game.lzh", "game"};
    const std::string name = kNames[data[0] % 6];
    floppex::archive::ExtractLimits limits;
    limits.maxMemberBytes = 1 << 20;
    limits.maxTotalBytes = 4 << 20;
    limits.maxMembers = 64;
    const auto r = floppex::archive::UnpackArchive(name, {data + 1, size - 1}, limits);
    if (!r.ok()) return 0;
    const std::string& e = r.extension;
    const bool pc64 = e.size() == 4 && e.compare(0, 3, ".p0") == 0 && e[3] >= '0' && e[3] <= '9';
    if (!(e == ".d64" || e == ".t64" || e == ".prg" || pc64)) abort();
    if (r.data.size() < 2 || r.data.size() > limits.maxMemberBytes) abort();
    return 0;
}
