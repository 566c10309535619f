#include "components/system/archiver_runner.h"

#include "components/system/process_starter.h"

namespace floppex {

namespace {

constexpr DWORD kArchiverTimeoutMs = 120000;

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

}  // namespace

bool RunArchiver(const std::filesystem::path& archiver, const std::filesystem::path& archive,
                 const std::filesystem::path& outDir, const std::string&) {
    const std::wstring commandLine = Quoted(archiver) + L" -min -e -o " + Quoted(archive) + L" " + Quoted(outDir);
    const ProcessOutcome outcome =
        StartProcess({archiver.wstring(), commandLine, outDir.wstring(), SW_SHOWMINNOACTIVE}, kArchiverTimeoutMs);
    return outcome.exitCode == 0u;
}

}  // namespace floppex
