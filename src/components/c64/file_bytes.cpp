#include "c64/file_bytes.h"

#include <fstream>

namespace floppex {

bool ReadFileBytes(const std::filesystem::path& path, size_t maxBytes, std::vector<uint8_t>& out,
                   std::string& error) {
    out.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open the file";
        return false;
    }
    constexpr size_t kChunk = 64 * 1024;
    while (in && out.size() <= maxBytes) {
        const size_t old = out.size();
        out.resize(old + kChunk);
        in.read(reinterpret_cast<char*>(out.data() + old), static_cast<std::streamsize>(kChunk));
        out.resize(old + static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        error = "cannot read the file";
        return false;
    }
    if (out.size() > maxBytes) {
        error = "file too large (more than " + std::to_string(maxBytes) + " bytes)";
        out.clear();
        return false;
    }
    return true;
}

}  // namespace floppex
