// floppex-cli: lists, unpacks and plays C64 disk, tape, program and archive files from the command line.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <vector>

#include "cli/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

// wmain: arguments arrive as UTF-16, so every path survives whatever the code page.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
int main(int argc, char** argv) {
#endif
    floppex::cli::Output out(stdout), err(stderr);
    try {
        std::vector<std::filesystem::path> args(argv + 1, argv + argc);
        const int status = floppex::cli::Run(args, out, err);
        out.Flush();
        return out.Good() ? status : floppex::cli::kExitUnreadable;
    } catch (const std::exception& e) {
        err << "floppex-cli: " << e.what() << "\n";
        return floppex::cli::kExitUnreadable;
    }
}
