#pragma once
// What a file is: by its name (see c64/file_type.h), else, for a name without a known extension,
// by the signature its first bytes carry (G64, X64, T64, TAP, CRT, P00, Lynx). A D64, D71, D81 or
// PRG carries none and goes by its name alone.
#include <filesystem>

#include "c64/file_type.h"

namespace floppex::cli {

FileType KindOf(const std::filesystem::path& file);

}  // namespace floppex::cli
