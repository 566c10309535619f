#pragma once
// Shared by the archive tests: the fixtures that tests/fixtures/archives.sh made with outside
// tools, and c1541 run on a disk image.
#include <gtest/gtest.h>

#include "fixture_files.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace floppex::testing {

inline std::filesystem::path ArchiveFixture(const std::string& name) { return FixtureDir("archives") / name; }

inline std::vector<uint8_t> Fixture(const std::string& name) {
    EXPECT_TRUE(std::filesystem::exists(ArchiveFixture(name))) << "missing fixture " << ArchiveFixture(name);
    return ReadBytes(ArchiveFixture(name));
}

// Standard output of a shell command.
inline std::string RunCommand(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return text;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) text.append(buffer.data(), n);
    pclose(pipe);
    return text;
}

inline std::string C1541Listing(const std::filesystem::path& image) {
    return RunCommand("c1541 " + ShellQuote(image.string()) + " -list 2>/dev/null");
}

// The file `name` (with ",s" or ",u" for other types than PRG) as c1541 reads it from `image`,
// by way of `out`; empty when c1541 found no such file.
inline std::vector<uint8_t> C1541Read(const std::filesystem::path& image, const std::string& name,
                                      const std::filesystem::path& out) {
    std::filesystem::remove(out);
    RunCommand("c1541 " + ShellQuote(image.string()) + " -read " + ShellQuote(name) + " " + ShellQuote(out.string()) +
               " >/dev/null 2>&1");
    return std::filesystem::exists(out) ? ReadBytes(out) : std::vector<uint8_t>{};
}

}  // namespace floppex::testing
