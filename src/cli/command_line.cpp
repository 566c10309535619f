#include "cli/command_line.h"

#include "cli/path_text.h"

namespace floppex::cli {

const char* const kUsage =
    "usage: floppex-cli list [--json] [--set] [--] FILE...\n"
    "       floppex-cli extract ARCHIVE DIR\n"
    "       floppex-cli play [--emulator PROGRAM] [--name NAME] FILE [ENTRY] [-- ARG...]\n"
    "       floppex-cli render FILE -o OUT.png [--scale N | --size N] [--lower]\n"
    "       floppex-cli --help\n"
    "\n"
    "list     prints what each FILE holds (.d64 .t64 .prg .p00-.p09 .tap .crt, or an archive .lha\n"
    "         .lzh .zip .lnx .gz holding one) the way `c1541 IMAGE -list` prints a disk: a header\n"
    "         line with the disk, tape or file name, one line per entry, and for disks the blocks\n"
    "         free; a raw tape's entries with their load addresses, a cartridge the way\n"
    "         `cartconv -f CRT` prints it.\n"
    "         With several FILEs each listing is preceded by a line \"==> FILE <==\" and listings\n"
    "         are separated by an empty line.\n"
    "--json   prints one JSON object per FILE instead (an array of them when several FILEs are\n"
    "         given; a FILE that cannot be read appears there as {\"path\", \"error\"}). Names are\n"
    "         given as text and as their raw PETSCII bytes in hex.\n"
    "--set    lists every disk of the set that FILE is one disk of (\"Game (Disk 1 of 3).d64\" and\n"
    "         its siblings in FILE's folder, or the disks in FILE's archive, named ARCHIVE|DISK),\n"
    "         in the order they are counted; a FILE of no set is listed alone.\n"
    "extract  writes the C64 file held by ARCHIVE into DIR, named after the archive, and prints\n"
    "         its path.\n"
    "play     starts VICE's x64sc (or PROGRAM: a path, or a name looked up on the PATH) on entry\n"
    "         number ENTRY of FILE's listing (default 1), or on the entry listed as NAME (letter\n"
    "         case may differ when only one entry matches), as Floppex's window starts VICE:\n"
    "         x64sc ARG... -autostart \"FILE:NAME\", without \":NAME\" where the window passes no\n"
    "         name (a .t64 of one program, a .prg, .crt or .tap). An archive is unpacked\n"
    "         into a temporary folder that is removed once the emulator has exited. Waits for the\n"
    "         emulator and exits with its exit status. A disk of a set (see --set) is played with\n"
    "         -flipname and a flip list of the whole set in that folder, so that VICE's \"attach\n"
    "         next disk\" (Alt+N) brings the disk after FILE (from an archive: after its first).\n"
    "render   draws FILE's directory as the C64 screen shows it after LOAD\"$\",8 and LIST, in\n"
    "         the C64's blue and light blue, and writes it to OUT.png (under a temporary name\n"
    "         first, so a failure leaves no picture). --scale N (1 to 8, default 2) draws each\n"
    "         C64 pixel N x N; --size N (16 to 1024) makes an N x N thumbnail, cut on the right\n"
    "         and at the bottom. --lower uses the lower-case character set.\n"
    "\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 bad usage; play: 3 no such\n"
    "entry, 127 the emulator was not found or could not be started, else the emulator's own.\n";

namespace {

std::optional<CommandLine> ParseList(const std::vector<std::filesystem::path>& args, std::string& error) {
    CommandLine line;
    line.command = CommandLine::Command::List;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string text = PathText(args[i]);
        if (!optionsEnded && text == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && text == "--json") {
            line.json = true;
        } else if (!optionsEnded && text == "--set") {
            line.set = true;
        } else if (!optionsEnded && text.size() > 1 && text[0] == '-') {
            error = "unknown option " + text;
            return std::nullopt;
        } else {
            line.files.push_back(args[i]);
        }
    }
    if (line.files.empty()) {
        error = "list needs at least one FILE";
        return std::nullopt;
    }
    return line;
}

std::optional<CommandLine> ParseExtract(const std::vector<std::filesystem::path>& args, std::string& error) {
    if (args.size() != 3) {
        error = "extract needs ARCHIVE and DIR";
        return std::nullopt;
    }
    CommandLine line;
    line.command = CommandLine::Command::Extract;
    line.files.push_back(args[1]);
    line.outputFolder = args[2];
    return line;
}

// The command line of a command whose own parser gave request (nothing: bad usage).
template <class Request>
std::optional<CommandLine> WithRequest(std::optional<Request> request, CommandLine::Command command,
                                       std::optional<Request> CommandLine::*field) {
    if (!request) return std::nullopt;
    CommandLine line{.command = command};
    line.*field = std::move(request);
    return line;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::filesystem::path>& args, std::string& error) {
    if (args.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const std::string command = PathText(args[0]);
    if (command == "--help" || command == "-h" || command == "help") {
        if (args.size() == 1) return CommandLine{};
        error = "--help takes no arguments";
        return std::nullopt;
    }
    if (command == "list") return ParseList(args, error);
    if (command == "extract") return ParseExtract(args, error);
    if (command == "render") return WithRequest(ParseRender(args, error), CommandLine::Command::Render, &CommandLine::render);
    if (command == "play") return WithRequest(ParsePlay(args, error), CommandLine::Command::Play, &CommandLine::play);
    error = "unknown command " + command;
    return std::nullopt;
}

}  // namespace floppex::cli
