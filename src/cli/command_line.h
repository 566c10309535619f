#pragma once
// What the command line asks for.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/play.h"
#include "cli/render.h"

namespace floppex::cli {

struct CommandLine {
    enum class Command { Help, List, Extract, Play, Render };
    Command command = Command::Help;
    bool json = false;
    bool set = false;                          // list: every disk of the set each FILE is one of
    std::vector<std::filesystem::path> files;  // list: the files; extract: the archive
    std::filesystem::path outputFolder;        // extract only
    std::optional<PlayRequest> play;           // play only
    std::optional<RenderRequest> render;       // render only
};

// args without the program name. Bad usage returns nothing and sets error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::filesystem::path>& args, std::string& error);

extern const char* const kUsage;

}  // namespace floppex::cli
