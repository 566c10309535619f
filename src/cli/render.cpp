#include "cli/render.h"

#include <charconv>
#include <system_error>

#include "c64/file_bytes.h"
#include "cli/commands.h"
#include "cli/path_text.h"
#include "picture/directory_picture.h"

namespace floppex::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultScale = 2;

// A whole number from low to high, digits only.
std::optional<int> NumberIn(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// The value after option at args[i], or nothing with error set.
std::optional<int> OptionNumber(const std::vector<fs::path>& args, size_t i, int low, int high, std::string& error) {
    const std::string option = PathText(args[i]);
    std::optional<int> value = i + 1 < args.size() ? NumberIn(PathText(args[i + 1]), low, high) : std::nullopt;
    if (!value) error = option + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    return value;
}

}  // namespace

std::optional<RenderRequest> ParseRender(const std::vector<fs::path>& args, std::string& error) {
    RenderRequest request;
    std::vector<fs::path> files;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string text = PathText(args[i]);
        if (text == "-o") {
            if (i + 1 == args.size()) {
                error = "-o needs the picture's file name";
                return std::nullopt;
            }
            request.output = args[++i];
        } else if (text == "--scale" || text == "--size") {
            const bool scale = text == "--scale";
            std::optional<int>& value = scale ? request.scale : request.side;
            value = scale ? OptionNumber(args, i++, picture::kMinScale, picture::kMaxScale, error)
                          : OptionNumber(args, i++, picture::kMinSide, picture::kMaxSide, error);
            if (!value) return std::nullopt;
        } else if (text == "--lower") {
            request.lower = true;
        } else if (text.size() > 1 && text[0] == '-') {
            error = "unknown option " + text;
            return std::nullopt;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1 || request.output.empty()) {
        error = "render needs one FILE and -o OUT.png";
        return std::nullopt;
    }
    if (request.scale && request.side) {
        error = "give --scale or --size, not both";
        return std::nullopt;
    }
    request.file = files[0];
    return request;
}

int Render(const RenderRequest& request, Output& err) {
    std::error_code ec;
    const fs::path folder = request.output.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        Complain(err, request.output, "no such folder to write the picture into");
        return kExitUnreadable;
    }
    const C64File file = OpenOne(request.file);
    if (!file.listing) {
        Complain(err, request.file, file.error);
        return kExitUnreadable;
    }
    const std::vector<picture::ScreenRow> screen = picture::DirectoryScreen(*file.listing);
    const picture::PictureSize size = request.side ? picture::ThumbnailSize(*request.side)
                                                   : picture::ScaledSize(static_cast<int>(screen.size()),
                                                                         request.scale.value_or(kDefaultScale));
    const auto set = request.lower ? petscii::CharSet::LowerCase : petscii::CharSet::UpperCase;
    if (!WriteThroughTemporary(request.output, picture::DirectoryPng(screen, set, size))) {
        Complain(err, request.output, "cannot write the picture");
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace floppex::cli
