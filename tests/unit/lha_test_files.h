#pragma once
// Shared by the LHA tests: the fixture folder and names compared the way lhasa writes them to disk.
#include <map>

#include "fixture_files.h"

namespace floppex::lha_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

using testing::ReadBytes;
using testing::ReadText;

inline fs::path FixtureDir() { return testing::FixtureDir("lha"); }

// Folder separators ('\', 0xFF) become '/', case is folded, "." and ".." are resolved and
// leading '/' dropped, as lhasa does before it writes a member.
inline std::string PathKey(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (char c : name) {
        auto b = static_cast<unsigned char>(c);
        if (b == '/' || b == '\\' || b == 0xFF) {
            flush();
        } else {
            part += static_cast<char>(b < 0x80 ? std::tolower(b) : b);
        }
    }
    flush();
    std::string key;
    for (const auto& p : parts) key += (key.empty() ? "" : "/") + p;
    return key;
}

// Regular files below a folder (symbolic links left out), by PathKey of their relative path.
inline std::map<std::string, fs::path> FilesBelow(const fs::path& dir) {
    std::map<std::string, fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_symlink() || !entry.is_regular_file()) continue;
        files[PathKey(fs::relative(entry.path(), dir).generic_string())] = entry.path();
    }
    return files;
}

}  // namespace floppex::lha_test
