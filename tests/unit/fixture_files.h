#pragma once
// Test access to the fixtures that tests/fixtures/*.sh made with outside tools.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace floppex::testing {

// Folder of the fixtures made by tests/fixtures/<script>.sh.
inline std::filesystem::path FixtureDir(const std::string& script) {
    const char* root = std::getenv("FLOPPEX_FIXTURES");
    return std::filesystem::path(root ? root : "fixtures") / script;
}

// `text` in single quotes for a POSIX shell.
inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::filesystem::path& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A scratch folder of one test, unique across the test processes that ctest runs side by side,
// removed when it goes out of scope.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("floppex-" + name + "-" + std::to_string(getpid()) + "-" + std::to_string(++count_))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

    // Every file below the folder, relative to it, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_))
            names.push_back(std::filesystem::relative(e.path(), path_).string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

}  // namespace floppex::testing
