#pragma once
// Tape images written from the published T64 layout: a 64-byte header (signature, version,
// maximum and used entries, tape name), 32-byte directory slots, then the data.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace floppex::testing::t64 {

struct TapeFile {
    std::string name;
    uint16_t start;
    std::vector<uint8_t> data;
    int end = -1;     // a wrong end address, as old converters wrote
    int offset = -1;  // data elsewhere than right after the previous file's
    uint8_t entryType = 1;
    uint8_t fileType = 0x82;  // old converters left it at 0
};

inline void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::vector<uint8_t> Tape(const std::vector<TapeFile>& files, uint16_t maximum = 30, int used = -1,
                          const std::string& signature = "C64S tape image file", const std::string& name = "") {
    std::vector<uint8_t> b(64 + 32 * size_t{maximum}, 0);
    std::memcpy(b.data(), signature.data(), std::min<size_t>(signature.size(), 32));
    Put(b, 0x20, 0x0101, 2);
    Put(b, 0x22, maximum, 2);
    Put(b, 0x24, static_cast<uint32_t>(used >= 0 ? used : static_cast<int>(files.size())), 2);
    std::memset(b.data() + 0x28, ' ', 24);
    std::memcpy(b.data() + 0x28, name.data(), std::min<size_t>(name.size(), 24));
    for (size_t i = 0; i < files.size(); ++i) {
        const TapeFile& f = files[i];
        const size_t slot = 64 + 32 * i;
        b[slot] = f.entryType;
        b[slot + 1] = f.fileType;
        Put(b, slot + 2, f.start, 2);
        Put(b, slot + 4, static_cast<uint32_t>(f.end >= 0 ? f.end : f.start + static_cast<int>(f.data.size())), 2);
        Put(b, slot + 8, static_cast<uint32_t>(f.offset >= 0 ? f.offset : static_cast<int>(b.size())), 4);
        std::memset(b.data() + slot + 16, ' ', 16);
        std::memcpy(b.data() + slot + 16, f.name.data(), f.name.size());
        if (f.offset < 0) b.insert(b.end(), f.data.begin(), f.data.end());
    }
    return b;
}

inline std::vector<uint8_t> Prg(const TapeFile& f) {
    std::vector<uint8_t> prg{static_cast<uint8_t>(f.start), static_cast<uint8_t>(f.start >> 8)};
    prg.insert(prg.end(), f.data.begin(), f.data.end());
    return prg;
}

}  // namespace floppex::testing::t64
