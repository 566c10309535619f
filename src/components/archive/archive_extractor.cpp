#include "archive/archive_extractor.h"

#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "archive/archive_unpacker.h"
#include "archive/member_chooser.h"
#include "c64/file_bytes.h"
#include "c64/file_type.h"

namespace floppex {

namespace fs = std::filesystem;
using archive::ArchiveMember;
using archive::ExtractLimits;
using archive::UnpackError;
using archive::UnpackResult;

namespace {

std::string Utf8(const fs::path& p) {
    const auto u = p.u8string();
    return std::string(u.begin(), u.end());
}

std::string Megabytes(size_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

std::string TooLargeText(const std::string& name, size_t maxArchiveBytes) {
    return name + " is larger than " + Megabytes(maxArchiveBytes) + "; Floppex does not unpack it.";
}

std::string MessageFor(const UnpackResult& r, const std::string& name, const ExtractLimits& limits) {
    switch (r.error) {
        case UnpackError::None: break;
        case UnpackError::NotAnArchive: return name + " is not an archive that Floppex can unpack.";
        case UnpackError::Damaged: return name + " is damaged and cannot be unpacked.";
        case UnpackError::UnsupportedMethod:
            return name + " uses compression method " + (r.detail.empty() ? "?" : r.detail) +
                   " that Floppex cannot unpack.";
        case UnpackError::Encrypted: return name + " is encrypted; Floppex cannot unpack password-protected archives.";
        case UnpackError::TooLarge:
            return name + " would unpack to more than " + Megabytes(limits.maxTotalBytes) + ", or to a file of more than " +
                   Megabytes(limits.maxMemberBytes) + "; Floppex does not unpack it.";
        case UnpackError::NoC64File: return name + " holds no C64 disk, tape or program file.";
        case UnpackError::TooManyForDisk: return name + " holds more program files than fit on one disk image.";
    }
    return {};
}

// The whole file, or nothing when it cannot be read or is larger than maxBytes (tooLarge then).
// Only regular files: opening a pipe could wait for ever.
std::optional<std::vector<uint8_t>> ReadWhole(const fs::path& path, size_t maxBytes, bool& tooLarge) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::vector<uint8_t> bytes;
    const FileReadError error = ReadWholeFile(path, maxBytes, bytes);
    tooLarge = error == FileReadError::TooLarge;
    if (error != FileReadError::None) return std::nullopt;
    return bytes;
}

// The regular files the outside archiver left in dir, within the limits.
std::vector<ArchiveMember> CollectFolder(const fs::path& dir, const ExtractLimits& limits) {
    std::vector<ArchiveMember> members;
    std::error_code ec;
    size_t total = 0;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (members.size() >= limits.maxMembers || !it->is_regular_file(ec) || it->is_symlink(ec)) continue;
        bool tooLarge = false;
        auto bytes = ReadWhole(it->path(), std::min(limits.maxMemberBytes, limits.maxTotalBytes - total), tooLarge);
        if (!bytes) continue;
        total += bytes->size();
        members.push_back(ArchiveMember{Utf8(fs::relative(it->path(), dir, ec)), std::move(*bytes)});
    }
    return members;
}

// The archive's bytes, or nothing after setting errorText.
std::optional<std::vector<uint8_t>> ReadArchive(const fs::path& archivePath, const std::string& name,
                                                size_t maxArchiveBytes, std::string& errorText) {
    bool tooLarge = false;
    auto bytes = ReadWhole(archivePath, maxArchiveBytes, tooLarge);
    if (!bytes) {
        errorText = tooLarge ? TooLargeText(name, maxArchiveBytes) : name + " cannot be read.";
    }
    return bytes;
}

// The disk numbered number of a set written beside target.
fs::path SetDiskPath(const fs::path& target, size_t number, const std::string& extension) {
    fs::path path = target;
    path += "-" + std::to_string(number) + extension;
    return path;
}

// Removes the disks of an earlier set written beside target beyond the first keep.
void RemoveOlderSetDisks(const fs::path& target, size_t keep) {
    const std::string prefix = Utf8(target.filename()) + "-";
    std::error_code ec;
    std::vector<fs::path> older;
    for (auto it = fs::directory_iterator(target.parent_path(), ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = Utf8(it->path().filename());
        const std::string stem = Utf8(it->path().stem());
        if (!name.starts_with(prefix) || FileTypeOf(name) != FileType::Disk || stem.size() == prefix.size()) continue;
        const std::string number = stem.substr(prefix.size());
        if (number.find_first_not_of("0123456789") == std::string::npos && (number.size() > 6 || std::stoul(number) > keep))
            older.push_back(it->path());
    }
    for (const fs::path& path : older) fs::remove(path, ec);
}

}  // namespace

std::optional<UnpackResult> ArchiveExtractor::UnpackInMemory(const fs::path& archivePath, std::string& errorText) const {
    const std::string name = Utf8(archivePath.filename());
    try {
        const auto bytes = ReadArchive(archivePath, name, maxArchiveBytes, errorText);
        return bytes ? UnpackInMemory(name, *bytes, errorText) : std::nullopt;
    } catch (...) {
        errorText = name + " could not be unpacked.";
    }
    return std::nullopt;
}

std::optional<UnpackResult> ArchiveExtractor::UnpackInMemory(const std::string& name, std::span<const uint8_t> bytes,
                                                             std::string& errorText) const {
    try {
        if (bytes.size() > maxArchiveBytes) {
            errorText = TooLargeText(name, maxArchiveBytes);
            return std::nullopt;
        }
        UnpackResult result = archive::UnpackArchive(name, bytes, limits);
        if (result.ok()) return result;
        errorText = MessageFor(result, name, limits);
    } catch (...) {
        errorText = name + " could not be unpacked.";
    }
    return std::nullopt;
}

void ArchiveExtractor::Extract(const fs::path& /*workDir*/, const fs::path& archivePath, const std::string& /*unused*/,
                               const fs::path& target, fs::path& extractedPath, std::string& errorText,
                               const std::string& caption, const fs::path& archiverPath, int /*reserved*/,
                               bool& success) {
    success = false;
    extractedPath.clear();
    errorText.clear();
    setDisks.clear();
    refusedSetDisks = 0;
    const std::string name = Utf8(archivePath.filename());
    try {
        const auto bytes = ReadArchive(archivePath, name, maxArchiveBytes, errorText);
        if (!bytes) return;
        UnpackResult result = archive::UnpackArchive(name, *bytes, limits);
        if (result.zip && result.error == UnpackError::UnsupportedMethod && archiverRunner && !archiverPath.empty()) {
            fs::path outDir = target;
            outDir += ".unpack";
            std::error_code ec;
            fs::remove_all(outDir, ec);
            if (fs::create_directory(outDir, ec) && archiverRunner(archiverPath, archivePath, outDir, caption)) {
                result = archive::ChooseFrom(name, CollectFolder(outDir, limits), limits);
            }
            fs::remove_all(outDir, ec);
        }
        if (!result.ok()) {
            errorText = MessageFor(result, name, limits);
            return;
        }
        fs::path finalPath = target;
        finalPath += result.extension;
        if (!WriteThroughTemporary(finalPath, result.data)) {
            errorText = "The file unpacked from " + name + " could not be written to " + Utf8(target.parent_path()) + ".";
            return;
        }
        refusedSetDisks = result.refusedSetDisks;
        if (writeSet && !WriteSet(target, result.set)) {
            errorText = "The disks unpacked from " + name + " could not be written to " + Utf8(target.parent_path()) + ".";
            return;
        }
        extractedPath = finalPath;
        success = true;
    } catch (...) {
        errorText = name + " could not be unpacked.";
    }
}

bool ArchiveExtractor::WriteSet(const fs::path& target, const std::vector<ArchiveMember>& set) {
    for (size_t i = 0; i < set.size(); ++i) {
        const fs::path path = SetDiskPath(target, i + 1, archive::LowerExtensionOf(set[i].name));
        if (!WriteThroughTemporary(path, set[i].data)) return false;
        setDisks.push_back({path, std::string(archive::FileNameOf(set[i].name))});
    }
    RemoveOlderSetDisks(target, set.size());
    return true;
}

}  // namespace floppex
