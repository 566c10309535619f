#pragma once
// Whole files in and out of memory; reading has a size cap.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace floppex {

enum class FileReadError { None, CannotOpen, CannotRead, TooLarge };

// Reads the file whole into out, sized once from the file's own size. More than maxBytes bytes
// is TooLarge, however large the file says it is.
FileReadError ReadWholeFile(const std::filesystem::path& path, size_t maxBytes, std::vector<uint8_t>& out);

// The same with the reason as text: nothing, with error set, when the file cannot be read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path, size_t maxBytes,
                                                  std::string& error);

// Creates or replaces the file with data; false when it cannot be written whole.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> data);

// The same written beside it first (path + ".part") and renamed, so that path never holds half a
// file; nothing is left behind when it fails.
bool WriteThroughTemporary(const std::filesystem::path& path, std::span<const uint8_t> data);

}  // namespace floppex
