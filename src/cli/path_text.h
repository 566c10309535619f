#pragma once
// Paths as UTF-8 text for messages and JSON, whatever the platform's native encoding.
#include <filesystem>
#include <string>

namespace floppex::cli {

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace floppex::cli
