#pragma once
// Test access to the fixtures that tests/fixtures/<script>.sh made with outside tools, scratch
// folders, and the outside tools the tests compare with.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <span>

namespace floppex::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline fs::path FixtureDir(const std::string& script) {
    const char* root = std::getenv("FLOPPEX_FIXTURES");
    return fs::path(root ? root : "fixtures") / script;
}
inline Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline std::string ReadText(const fs::path& path) { const auto b = ReadBytes(path); return {b.begin(), b.end()}; }
inline void WriteBytes(const fs::path& path, std::span<const uint8_t> bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
inline fs::path Archive(const std::string& name) { return FixtureDir("archives") / name; }
inline Bytes ArchiveBytes(const std::string& name) { return ReadBytes(Archive(name)); }

// A folder of one test, unique across the test processes ctest runs side by side; removed at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : path_(fs::temp_directory_path() / ("floppex-" + name + "-" + std::to_string(getpid()) + "-" + std::to_string(++count_))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() { std::error_code ec; fs::remove_all(path_, ec); }
    const fs::path& Path() const { return path_; }
    std::vector<std::string> Files() const {  // every file below, relative, sorted
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(path_)) names.push_back(fs::relative(e.path(), path_).string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline int count_ = 0;
    fs::path path_;
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? "'\\''" : std::string(1, c);
    return quoted + "'";
}
// Standard output of a shell command.
inline std::string RunCommand(const std::string& command) {
    std::string text, buffer(4096, '\0');
    FILE* pipe = popen(command.c_str(), "r");
    for (size_t n; pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) text.append(buffer, 0, n);
    if (pipe) pclose(pipe);
    return text;
}
inline std::string C1541List(const fs::path& image) { return RunCommand("c1541 " + ShellQuote(image.string()) + " -list 2>/dev/null"); }
// The file `name` (",s" or ",u" appended for those types) as c1541 reads it; empty when it found none.
inline Bytes C1541Read(const fs::path& image, const std::string& name, const fs::path& out) {
    fs::remove(out);
    RunCommand("c1541 " + ShellQuote(image.string()) + " -read " + ShellQuote(name) + " " + ShellQuote(out.string()) + " >/dev/null 2>&1");
    return fs::exists(out) ? ReadBytes(out) : Bytes{};
}

// Calls check on the input cut short at every length, in steps that grow by 1/density of the length.
inline void ForEachCut(const Bytes& whole, size_t density, const std::function<void(std::span<const uint8_t>, size_t)>& check) {
    for (size_t n = 0; n < whole.size(); n += 1 + n / density) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        check(std::span(whole).first(n), n);
    }
}

}  // namespace floppex::testing
