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

}  // namespace floppex::testing
