#pragma once
// What a file is, judged by its extension alone (case-insensitive).
#include <filesystem>
#include <string_view>

namespace floppex::cli {

enum class FileKind { D64, T64, P00, Prg, Archive, Unknown };

FileKind KindOf(const std::filesystem::path& file);

// Short lower-case name for messages and JSON: "d64", "t64", "p00", "prg", "archive", "unknown".
std::string_view KindName(FileKind kind);

}  // namespace floppex::cli
