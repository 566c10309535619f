#include "open/unpack_archive.h"

#include <exception>
#include <filesystem>

#include "archive/archive_extractor.h"
#include "components/system/archiver_runner.h"
#include "window/module_state.h"
#include "window/text.h"

namespace floppex {

Unpacked UnpackArchive(const std::wstring& archivePath, const std::string& caption) {
    const ModuleState& module = Module();
    std::filesystem::path extracted;
    std::string error;
    bool success = false;
    try {
        ArchiveExtractor extractor;
        extractor.archiverRunner = RunArchiver;
        extractor.Extract(module.dataDir, archivePath, "", module.dataDir + L"currgame", extracted, error, caption,
                          module.programPaths[kArchiver].path, 0, success);
    } catch (const std::exception&) {
        success = false;
        error = "The archive could not be unpacked:\n" + Narrow(archivePath);
    }
    return {success, success ? extracted.wstring() : L"", Widen(error)};
}

}  // namespace floppex
