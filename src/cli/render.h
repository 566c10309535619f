#pragma once
// floppex-cli render: a PNG of a C64 file's directory as the C64 lists it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/output.h"

namespace floppex::cli {

struct RenderRequest {
    std::filesystem::path file;
    std::filesystem::path output;
    std::optional<int> scale;  // --scale: C64 pixel size
    std::optional<int> side;   // --size: a square thumbnail
    bool lower = false;        // --lower: the lower-case character set
};

// args as the whole command line has them, "render" first. Bad usage returns nothing and sets error.
std::optional<RenderRequest> ParseRender(const std::vector<std::filesystem::path>& args, std::string& error);

int Render(const RenderRequest& request, Output& err);

}  // namespace floppex::cli
