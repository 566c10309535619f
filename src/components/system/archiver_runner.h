#pragma once
// Runs WinZip's command line to unpack an archive that the built-in readers cannot decode.
#include <filesystem>
#include <string>

namespace floppex {

// Starts `archiver -min -e -o "archive" "outDir"` minimised and waits for it (at most two minutes;
// a WinZip that is still running then is ended). True when it ran and ended with exit code 0.
bool RunArchiver(const std::filesystem::path& archiver, const std::filesystem::path& archive,
                 const std::filesystem::path& outDir, const std::string& caption);

}  // namespace floppex
