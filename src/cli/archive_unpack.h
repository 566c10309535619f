#pragma once
// Unpacking the one C64 file of an archive, into a folder of the caller's or a temporary one.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace floppex::cli {

// A fresh, empty folder under the system's temporary folder, removed with everything in it when
// the object goes.
class TempFolder {
public:
    static std::optional<TempFolder> Create(std::string& error);
    TempFolder(TempFolder&& other) noexcept;
    TempFolder& operator=(TempFolder&&) = delete;
    TempFolder(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& Path() const { return path_; }

private:
    explicit TempFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

// The disks of a set unpacked beside the chosen file, in order, or how many a set too large had.
struct UnpackedSet {
    std::vector<std::filesystem::path> disks;
    size_t refused = 0;
};

// Writes the archive's C64 file into folder as baseName plus the file's own extension and returns
// its path; on failure returns nothing and sets error. Given set, the disks of the set the file
// belongs to are written too (baseName-1.d64 ...).
std::optional<std::filesystem::path> UnpackArchive(const std::filesystem::path& archive,
                                                   const std::filesystem::path& folder,
                                                   const std::filesystem::path& baseName, std::string& error,
                                                   UnpackedSet* set = nullptr);

// The name an extracted file is given: the archive's name without its extensions ("game.d64.gz"
// gives "game"), or "currgame" when nothing is left.
std::filesystem::path ExtractedBaseName(const std::filesystem::path& archive);

}  // namespace floppex::cli
