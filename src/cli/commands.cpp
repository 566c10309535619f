#include "cli/commands.h"

#include <optional>
#include <string>
#include <system_error>

#include "cli/archive_unpack.h"
#include "cli/command_line.h"
#include "cli/file_kind.h"
#include "cli/json_text.h"
#include "cli/path_text.h"
#include "cli/play.h"
#include "cli/render.h"
#include "listing/c64_listing.h"

namespace floppex::cli {

namespace fs = std::filesystem;

std::optional<std::string> NotAFile(const fs::path& file) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) return ec.message();
    if (!fs::exists(status)) return "no such file";
    if (!fs::is_regular_file(status)) return "not a regular file";
    return std::nullopt;
}

void Complain(Output& err, const fs::path& file, const std::string& error) {
    err << "floppex-cli: " << PathText(file) << ": " << error << "\n";
}

C64File OpenOne(const fs::path& file) {
    if (auto why = NotAFile(file)) {
        C64File refused;
        refused.error = *why;
        return refused;
    }
    return OpenC64File(file, KindOf(file));
}

namespace {

int ListText(const std::vector<fs::path>& files, Output& out, Output& err) {
    int status = kExitOk;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files.size() > 1) out << (i > 0 ? "\n" : "") << "==> " << PathText(files[i]) << " <==\n";
        const C64File result = OpenOne(files[i]);
        if (result.listing) {
            out << result.listing->text;
        } else {
            out.Flush();
            Complain(err, files[i], result.error);
            status = kExitUnreadable;
        }
    }
    return status;
}

int ListJson(const std::vector<fs::path>& files, Output& out, Output& err) {
    int status = kExitOk;
    const bool several = files.size() > 1;
    if (several) out << "[";
    for (size_t i = 0; i < files.size(); ++i) {
        const C64File result = OpenOne(files[i]);
        if (i > 0) out << ",\n";
        if (result.listing) {
            out << ListingJson(PathText(files[i]), *result.listing, result.fromArchive);
        } else {
            Complain(err, files[i], result.error);
            status = kExitUnreadable;
            if (several) out << ErrorJson(PathText(files[i]), result.error);
        }
    }
    if (several) out << "]";
    if (several || status == kExitOk) out << "\n";
    return status;
}

int Extract(const fs::path& archive, const fs::path& folder, Output& out, Output& err) {
    if (auto why = NotAFile(archive)) {
        Complain(err, archive, *why);
        return kExitUnreadable;
    }
    if (KindOf(archive) != FileType::Archive) {
        Complain(err, archive, "not an archive (.lha .lzh .zip .lnx .gz)");
        return kExitUnreadable;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        Complain(err, folder, "cannot create this folder");
        return kExitUnreadable;
    }
    std::string error;
    const std::optional<fs::path> written = UnpackArchive(archive, folder, ExtractedBaseName(archive), error);
    if (!written) {
        Complain(err, archive, error);
        return kExitUnreadable;
    }
    out << PathText(*written) << "\n";
    return kExitOk;
}

}  // namespace

int Run(const std::vector<fs::path>& args, Output& out, Output& err) {
    std::string error;
    const std::optional<CommandLine> line = ParseCommandLine(args, error);
    if (!line) {
        err << "floppex-cli: " << error << "\n" << kUsage;
        return kExitUsage;
    }
    switch (line->command) {
        case CommandLine::Command::Help: out << kUsage; return kExitOk;
        case CommandLine::Command::List:
            return line->json ? ListJson(line->files, out, err) : ListText(line->files, out, err);
        case CommandLine::Command::Extract: return Extract(line->files.front(), line->outputFolder, out, err);
        case CommandLine::Command::Play: return Play(*line->play, err);
        case CommandLine::Command::Render: return Render(*line->render, err);
    }
    return kExitUsage;
}

}  // namespace floppex::cli
