#pragma once
// Unpacks LHA/LZH, ZIP, GZ and Lynx archives in-process and writes the one C64 file to play
// as target + extension ("currgame.d64", ...). Nothing is written anywhere else.
//
// The file is written under a temporary name beside the target and then renamed, so a failed
// extraction never leaves a half file under the final name. Working files of other extensions
// from earlier extractions are left alone: the extracted path always names the current one.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/archive_member.h"
#include "archive/archive_unpacker.h"

namespace floppex {

class ArchiveExtractor {
public:
    // Runs the outside archiver to unpack archive into the empty folder outDir; true when it ran
    // and ended well. caption: title for any window the archiver shows.
    using ArchiverRunner = std::function<bool(const std::filesystem::path& archiver, const std::filesystem::path& archive,
                                              const std::filesystem::path& outDir, const std::string& caption)>;

    // workDir: the program folder; archivePath: the archive; unused: ""; target: workDir + "currgame";
    // extractedPath/errorText/success: results; caption: title of any window the archiver shows;
    // archiverPath: WinZip, tried only for a ZIP method that is not decoded here (may be empty).
    void Extract(const std::filesystem::path& workDir, const std::filesystem::path& archivePath,
                 const std::string& unused, const std::filesystem::path& target,
                 std::filesystem::path& extractedPath, std::string& errorText, const std::string& caption,
                 const std::filesystem::path& archiverPath, int reserved, bool& success);

    // The archive's C64 file unpacked in memory, without the outside archiver: the archive at
    // archivePath, or its bytes (name: its file name). Nothing, with errorText set, when it cannot be.
    std::optional<archive::UnpackResult> UnpackInMemory(const std::filesystem::path& archivePath,
                                                        std::string& errorText) const;
    std::optional<archive::UnpackResult> UnpackInMemory(const std::string& name, std::span<const uint8_t> bytes,
                                                        std::string& errorText) const;

    // With writeSet, Extract also writes every disk of the set the chosen file belongs to, as the
    // target, "-", its number from 1 and its extension ("currgame-2.d64"), and removes older disks
    // so named beyond the set's last, so that a second set replaces the first.
    struct SetDisk {
        std::filesystem::path path;
        std::string name;  // its file name in the archive
    };
    bool writeSet = false;
    std::vector<SetDisk> setDisks;  // after Extract: the set's disks in order; empty for none
    size_t refusedSetDisks = 0;     // after Extract: the disks of a set too large to hand over

    archive::ExtractLimits limits;
    size_t maxArchiveBytes = 256u << 20;
    ArchiverRunner archiverRunner;  // none: such a ZIP gets the unsupported-method message

private:
    bool WriteSet(const std::filesystem::path& target, const std::vector<archive::ArchiveMember>& set);
};

}  // namespace floppex
