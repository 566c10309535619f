#pragma once
// Finding a program and running it to its end: the one place floppex-cli starts a process.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace floppex::cli {

// The program to start for name: a name with a folder in it as it stands, else the first match in
// the folders of the PATH, on Windows in the current folder first and also with ".exe" added;
// nothing when there is none.
std::optional<std::filesystem::path> FindProgram(const std::filesystem::path& name);

// Runs program with args, sharing this process's standard streams and folder, and waits for it;
// Ctrl-C while it runs is left to the program. Returns its exit status (128 + the signal's number
// when a signal ended it), or nothing after setting error when it could not be started.
std::optional<int> RunProgram(const std::filesystem::path& program, const std::vector<std::filesystem::path>& args,
                              std::string& error);

}  // namespace floppex::cli
