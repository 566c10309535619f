#pragma once
// What a file is, judged by its name alone (see c64/file_type.h).
#include <filesystem>
#include <string_view>

#include "c64/file_type.h"

namespace floppex::cli {

FileType KindOf(const std::filesystem::path& file);

}  // namespace floppex::cli
