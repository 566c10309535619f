#pragma once
// Reading a whole C64 file into memory, with a size cap.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace floppex {

// Reads the file whole. False, with a reason in error, when it cannot be opened or read or when
// it holds more than maxBytes bytes.
bool ReadFileBytes(const std::filesystem::path& path, size_t maxBytes, std::vector<uint8_t>& out,
                   std::string& error);

}  // namespace floppex
