#pragma once
// What a file is, judged by its name alone (see c64/file_type.h).
#include <filesystem>
#include <string_view>

#include "c64/disk_image.h"
#include "c64/file_type.h"

namespace floppex::cli {

FileType KindOf(const std::filesystem::path& file);

// Short lower-case name for messages and JSON: "d64", "t64", "p00", "prg", "crt", "tap", "archive",
// "unknown".
std::string_view KindName(FileType kind);

// The same for a disk image as read: "d64", "d71", "d81", "g64" or "x64".
std::string_view DiskFormatName(DiskFormat format);

}  // namespace floppex::cli
