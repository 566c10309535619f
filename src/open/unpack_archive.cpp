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
    Unpacked result;
    try {
        ArchiveExtractor extractor;
        extractor.archiverRunner = RunArchiver;
        extractor.writeSet = true;
        extractor.Extract(module.dataDir, archivePath, "", module.dataDir + L"currgame", extracted, error, caption,
                          module.programPaths[kArchiver].path, 0, success);
        for (const ArchiveExtractor::SetDisk& disk : extractor.setDisks) {
            result.setPaths.push_back(disk.path.wstring());
            result.setNames.push_back(Widen(disk.name));
        }
        result.refusedSetDisks = extractor.refusedSetDisks;
    } catch (const std::exception&) {
        success = false;
        error = "The archive could not be unpacked:\n" + Narrow(archivePath);
    }
    result.success = success;
    result.extractedPath = success ? extracted.wstring() : L"";
    result.errorText = Widen(error);
    return result;
}

}  // namespace floppex
