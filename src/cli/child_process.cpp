#include "cli/child_process.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include "components/system/process_starter.h"
#include "emulator/emulator_command.h"
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace floppex::cli {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = ';';
#else
constexpr char kPathSeparator = ':';
#endif

bool IsProgram(const fs::path& candidate) {
    std::error_code ec;
#ifdef _WIN32
    return fs::is_regular_file(candidate, ec);
#else
    return fs::is_regular_file(candidate, ec) && access(candidate.c_str(), X_OK) == 0;
#endif
}

// name itself, and on Windows name.exe when it has no extension.
std::optional<fs::path> ProgramIn(const fs::path& folder, const fs::path& name) {
    const fs::path candidate = folder / name;
    if (IsProgram(candidate)) return candidate;
#ifdef _WIN32
    if (!name.has_extension() && IsProgram(fs::path(candidate) += ".exe")) return fs::path(candidate) += ".exe";
#endif
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> FindProgram(const fs::path& name) {
    if (name.empty()) return std::nullopt;
    if (name.has_parent_path()) return ProgramIn(fs::path(), name);
#ifdef _WIN32
    if (auto here = ProgramIn(fs::path(), name)) return here;  // as the command prompt looks first
#endif
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
    const std::string folders = path;
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(kPathSeparator, start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (auto found = ProgramIn(folder.empty() ? fs::path(".") : fs::path(folder), name)) return found;
        start = end + 1;
    }
    return std::nullopt;
}

#ifdef _WIN32

std::optional<int> RunProgram(const fs::path& program, const std::vector<fs::path>& args, std::string& error) {
    std::wstring commandLine = QuotedArgument(program.native());
    for (const fs::path& arg : args) commandLine += L" " + QuotedArgument(arg.native());
    const ProcessOutcome outcome = StartProcess({program.native(), commandLine, L"", std::nullopt, true}, INFINITE);
    if (!outcome.Started()) {
        error = std::system_category().message(static_cast<int>(outcome.error));
        return std::nullopt;
    }
    return static_cast<int>(*outcome.exitCode);
}

#else

namespace {

// SIGINT and SIGQUIT ignored while the child runs, as system() does, and restored after.
class SignalsIgnored {
public:
    SignalsIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGINT, &ignore, &interrupt_);
        sigaction(SIGQUIT, &ignore, &quit_);
    }
    ~SignalsIgnored() {
        sigaction(SIGINT, &interrupt_, nullptr);
        sigaction(SIGQUIT, &quit_, nullptr);
    }
    SignalsIgnored(const SignalsIgnored&) = delete;
    SignalsIgnored& operator=(const SignalsIgnored&) = delete;

private:
    struct sigaction interrupt_ {}, quit_ {};
};

}  // namespace

std::optional<int> RunProgram(const fs::path& program, const std::vector<fs::path>& args, std::string& error) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const fs::path& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const SignalsIgnored ignored;
    pid_t child = 0;
    const int failure = posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failure != 0) {
        error = std::strerror(failure);
        return std::nullopt;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            error = std::strerror(errno);
            return std::nullopt;
        }
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

#endif

}  // namespace floppex::cli
