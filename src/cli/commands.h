#pragma once
// The tool's commands; each returns the process exit status.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/output.h"
#include "listing/c64_listing.h"

namespace floppex::cli {

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

// args without the program name; listings and results go to out, messages to err.
int Run(const std::vector<std::filesystem::path>& args, Output& out, Output& err);

// Why a path is not a file that can be read, or nothing when it is one.
std::optional<std::string> NotAFile(const std::filesystem::path& file);

// The listing of one file: of the C64 file an archive holds, unpacked in memory.
C64File OpenOne(const std::filesystem::path& file);

// "floppex-cli: FILE: error" on err.
void Complain(Output& err, const std::filesystem::path& file, const std::string& error);

}  // namespace floppex::cli
