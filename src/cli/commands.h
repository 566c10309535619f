#pragma once
// The tool's commands; each returns the process exit status.
#include <filesystem>
#include <vector>

#include "cli/output.h"

namespace floppex::cli {

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

// args without the program name; listings and results go to out, messages to err.
int Run(const std::vector<std::filesystem::path>& args, Output& out, Output& err);

}  // namespace floppex::cli
