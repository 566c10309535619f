#include "cli/archive_unpack.h"

#include <random>
#include <system_error>

#include "archive/archive_extractor.h"
#include "c64/file_type.h"
#include "cli/path_text.h"

namespace floppex::cli {

namespace fs = std::filesystem;

std::optional<TempFolder> TempFolder::Create(std::string& error) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        error = "no temporary folder: " + ec.message();
        return std::nullopt;
    }
    std::random_device seed;
    std::mt19937_64 random(seed());
    constexpr int kAttempts = 64;
    for (int i = 0; i < kAttempts; ++i) {
        const fs::path candidate = base / ("floppex-cli-" + std::to_string(random() % 1000000000000ULL));
        if (fs::create_directory(candidate, ec)) return TempFolder(candidate);
        if (ec) break;
    }
    error = "cannot create a temporary folder in " + PathText(base) + (ec ? ": " + ec.message() : "");
    return std::nullopt;
}

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

TempFolder::~TempFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::optional<fs::path> UnpackArchive(const fs::path& archive, const fs::path& folder, const fs::path& baseName,
                                      std::string& error, UnpackedSet* set) {
    ArchiveExtractor extractor;
    extractor.writeSet = set != nullptr;
    fs::path extracted;
    bool success = false;
    extractor.Extract(folder, archive, "", folder / baseName, extracted, error, "floppex-cli", fs::path(), 0,
                      success);
    if (!success) {
        if (error.empty()) error = "cannot unpack the archive";
        return std::nullopt;
    }
    if (set) {
        for (const ArchiveExtractor::SetDisk& disk : extractor.setDisks) set->disks.push_back(disk.path);
        set->refused = extractor.refusedSetDisks;
    }
    return extracted;
}

fs::path ExtractedBaseName(const fs::path& archive) {
    constexpr int kMaxExtensions = 8;
    fs::path name = archive.filename();
    for (int i = 0; i < kMaxExtensions && name.has_extension() && FileTypeOf(name.native()) != FileType::Other; ++i) {
        name = name.stem();
    }
    return name.empty() || name == "." || name == ".." ? fs::path("currgame") : name;
}

}  // namespace floppex::cli
