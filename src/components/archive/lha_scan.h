#pragma once
// Finding LHA headers in bytes that may not start with one: behind a self-extracting program, or
// after a member whose header is damaged.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace floppex::archive {

// The offset of the first member header, or nothing when there is none in the lead-in.
std::optional<size_t> FindFirstLhaHeader(std::span<const uint8_t> bytes);

// For bytes after a member that do not parse as a header: true when they are a damaged member
// rather than bytes appended after the archive.
bool HoldsDamagedLhaMember(std::span<const uint8_t> rest);

}  // namespace floppex::archive
