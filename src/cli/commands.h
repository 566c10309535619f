#pragma once
// The tool's commands; each returns the process exit status.
#include <filesystem>
#include <ostream>
#include <vector>

namespace floppex::cli {

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

// args without the program name; listings and results go to out, messages to err.
int Run(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err);

}  // namespace floppex::cli
