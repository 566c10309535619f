#pragma once
// Unpacks LHA/LZH, ZIP, GZ and Lynx archives in-process and writes the one C64 file to play
// as target + extension ("currgame.d64", ...). Nothing is written anywhere else.
#include <filesystem>
#include <string>

#include "archive/archive_member.h"

namespace floppex {

class ArchiveExtractor {
public:
    // workDir: the program folder; archivePath: the archive; unused: ""; target: workDir + "currgame";
    // extractedPath/errorText/success: results; caption: title of any window the archiver shows;
    // archiverPath: WinZip, tried only for a ZIP method that is not decoded here (may be empty).
    void Extract(const std::filesystem::path& workDir, const std::filesystem::path& archivePath,
                 const std::string& unused, const std::filesystem::path& target,
                 std::filesystem::path& extractedPath, std::string& errorText, const std::string& caption,
                 const std::filesystem::path& archiverPath, int reserved, bool& success);

    archive::ExtractLimits limits;
};

}  // namespace floppex
