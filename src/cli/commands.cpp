#include "cli/commands.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "archive/archive_extractor.h"
#include "archive/disk_set.h"
#include "archive/member_chooser.h"
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

// One listing of `list`: what it is named by and what was read.
struct Listed {
    fs::path path;
    C64File file;
};

// The disks of the set in the archive, each named "ARCHIVE|name"; none when it holds no set.
std::vector<Listed> ArchiveSet(const fs::path& file) {
    std::string error;
    const auto unpacked = ArchiveExtractor().UnpackInMemory(file, error);
    std::vector<Listed> listed;
    for (const archive::ArchiveMember& disk : unpacked ? unpacked->set : std::vector<archive::ArchiveMember>{}) {
        const std::string_view name = archive::FileNameOf(disk.name);
        Listed& one = listed.emplace_back(Listed{file, OpenC64File(fs::path(std::u8string(name.begin(), name.end())),
                                                                   disk.data, FileTypeOf(name))});
        one.path += "|";
        one.path += fs::path(std::u8string(disk.name.begin(), disk.name.end()));
        one.file.fromArchive = true;
    }
    return listed;
}

// FILE itself, or with --set every disk of the set it is one disk of: the files beside it, or the
// disks in its archive.
std::vector<Listed> ListedOf(const fs::path& file, bool set) {
    std::vector<Listed> disks;
    if (set && !NotAFile(file) && KindOf(file) == FileType::Disk) {
        for (const fs::path& disk : archive::FolderSetOf(file)) disks.push_back({disk, OpenOne(disk)});
    } else if (set && !NotAFile(file) && KindOf(file) == FileType::Archive) {
        disks = ArchiveSet(file);
    }
    if (disks.empty()) disks.push_back({file, OpenOne(file)});
    return disks;
}

// Hands print each listing, its number and whether there are several, one FILE read at a time:
// what is kept does not grow with the number of files. Unreadable when print said so of one.
template <class Print>
int ListEach(const CommandLine& line, Print print) {
    bool ok = true;
    size_t printed = 0;
    for (const fs::path& file : line.files) {
        const std::vector<Listed> disks = ListedOf(file, line.set);
        for (const Listed& one : disks) ok &= print(one, printed++, line.files.size() > 1 || disks.size() > 1);
    }
    return ok ? kExitOk : kExitUnreadable;
}

int ListText(const CommandLine& line, Output& out, Output& err) {
    return ListEach(line, [&](const Listed& one, size_t i, bool several) {
        if (several) out << (i > 0 ? "\n" : "") << "==> " << PathText(one.path) << " <==\n";
        if (one.file.listing) {
            out << one.file.listing->text;
            return true;
        }
        out.Flush();
        Complain(err, one.path, one.file.error);
        return false;
    });
}

int ListJson(const CommandLine& line, Output& out, Output& err) {
    bool several = false;
    const int status = ListEach(line, [&](const Listed& one, size_t i, bool many) {
        several = many;
        const std::string path = PathText(one.path);
        out << (i == 0 ? (many ? "[" : "") : ",\n");
        if (one.file.listing) {
            out << ListingJson(path, *one.file.listing, one.file.fromArchive);
            return true;
        }
        Complain(err, one.path, one.file.error);
        if (many) out << ErrorJson(path, one.file.error);
        return false;
    });
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
            return line->json ? ListJson(*line, out, err) : ListText(*line, out, err);
        case CommandLine::Command::Extract: return Extract(line->files.front(), line->outputFolder, out, err);
        case CommandLine::Command::Play: return Play(*line->play, err);
        case CommandLine::Command::Render: return Render(*line->render, err);
    }
    return kExitUsage;
}

}  // namespace floppex::cli
