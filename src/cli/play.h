#pragma once
// floppex-cli play: starts VICE on one entry of a C64 file the way the window's VICE launcher does,
// waits for it and passes its exit status on.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/output.h"

namespace floppex::cli {

struct PlayRequest {
    std::filesystem::path file;
    std::optional<int> row;            // ENTRY: 1-based row of the listing
    std::optional<std::string> name;   // --name: an entry's name as listed
    std::filesystem::path emulator = "x64sc";
    std::vector<std::filesystem::path> emulatorArgs;  // after "--", given before -autostart
};

constexpr int kExitNoEntry = 3;
constexpr int kExitNoEmulator = 127;  // as shells say of a command they cannot find

// args as the whole command line has them, "play" first. Bad usage returns nothing and sets error.
std::optional<PlayRequest> ParsePlay(const std::vector<std::filesystem::path>& args, std::string& error);

int Play(const PlayRequest& request, Output& err);

}  // namespace floppex::cli
