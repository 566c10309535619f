// Starting an emulator on the listed game: checks, unpacking, the chosen entry's C64 name, the
// remembered entry and the launch.
#include "launch/run_game.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "archive/disk_set.h"
#include "components/system/program_launcher.h"
#include "emulator/emulator_command.h"
#include "launch/flip_list.h"
#include "launch/run_game_logic.h"
#include "listing/c64_listing.h"
#include "open/disk_set_view.h"
#include "open/unpack_archive.h"
#include "settings/game_index_file.h"
#include "window/message_box.h"
#include "window/module_state.h"
#include "window/text.h"

namespace floppex {

namespace {

struct GameFile {
    std::wstring path, folder, name;
};

GameFile SplitGame(const std::wstring& path) {
    GameFile game{path, {}, {}};
    Helper().SplitPath(path, game.folder, game.name);
    return game;
}

// Unpacks the archive into the working file, and the disks of its set beside it; the file to play
// (of a set, the disk last played, its remembered entry chosen), or nothing after telling why not.
std::optional<std::wstring> Unpack(MainWindow& window, const std::wstring& archivePath) {
    const Unpacked result = UnpackArchive(archivePath, Narrow(kAppTitle));
    if (!result.success) {
        Tell(window.hwnd, result.errorText);
        return std::nullopt;
    }
    TakeArchiveSet(window, archivePath, result);
    if (window.diskSet.paths.empty()) return result.extractedPath;
    window.gameIndex = std::max(ReadGameIndex(window, ShownGameKey(window)), 0);
    return window.diskSet.paths[window.diskSet.shown];
}

// The set of a disk played straight from the shell is found beside it.
void FindSetOf(MainWindow& window, const GameFile& game) {
    const DiskSet& set = window.diskSet;
    if (FileTypeOf(game.name) == FileType::Disk && set.archiveName.empty() &&
        std::ranges::find(set.paths, game.path) == set.paths.end())
        FindFolderSet(window, game.path);
}

// The set's flip list for VICE (a set too large is told about once); "" for none.
std::wstring FlipListFor(MainWindow& window, LaunchOperation operation) {
    if (window.diskSet.refused) {
        Tell(window.hwnd, Widen(archive::SetTooLargeText(window.diskSet.refused)));
        window.diskSet.refused = 0;
    }
    return operation == LaunchOperation::Vice ? WriteFlipList(window) : L"";
}

// An unreadable file is told about; the game is launched all the same, with no entry name.
std::wstring EntryNameOf(const MainWindow& window, const GameFile& game) {
    const FileType type = FileTypeOf(game.name);
    if (!IsListable(type)) return L"";
    std::optional<C64File> file;
    try {
        file = OpenC64File(std::filesystem::path(game.path), type);
    } catch (const std::exception&) {
        file.reset();
    }
    if (file && file->listing) return Widen(LaunchEntryName(*file->listing, window.gameIndex));
    Tell(window.hwnd, ReadFailureMessage(game.name));
    return L"";
}

// Starts the emulator the way its catalogue entry says; the message for the user, "" when none.
std::wstring Launch(LaunchOperation operation, const std::wstring& emulator, const GameFile& game,
                    const std::wstring& entryName, int32_t gameIndex, const std::wstring& flipList) {
    const ProgramLauncher launcher;
    const int16_t entry = LauncherEntryNumber(gameIndex);
    std::wstring message;
    switch (operation) {
    case LaunchOperation::Ccs64:
        launcher.RunCCS64(emulator, game.folder, game.path, entry, 0, 0, 1, 0, 0, 0, message);
        break;
    case LaunchOperation::Ccs64v2:
        launcher.RunCCS64v2(emulator, game.folder, game.path, entry, 1, 1, 2, 0, 0, 0, message);
        break;
    case LaunchOperation::Vice: launcher.RunVICE(emulator, game.path, entryName, 0, message, flipList); break;
    case LaunchOperation::C64s: launcher.RunC64S(emulator, game.path, entryName, 1, 2, 0, 0, message); break;
    case LaunchOperation::Win64: launcher.RunWin64(emulator, game.path, 0, message); break;
    case LaunchOperation::Pc64Win: launcher.RunPC64Win(emulator, game.path, 0, message); break;
    case LaunchOperation::ComeBack64: launcher.RunComeBack64(emulator, game.path, 1, 0, message); break;
    case LaunchOperation::Frodo: launcher.RunFrodo(emulator, 0, message); break;
    case LaunchOperation::Unsupported: message = kUnsupportedEmulatorMessage; break;
    case LaunchOperation::None:
    case LaunchOperation::Refused: break;
    }
    return message;
}

}  // namespace

// A number that addresses no program (a hand-edited default emulator) is refused with a message
// before anything is checked, unpacked or remembered.
void RunGame(MainWindow& window, int16_t emu) {
    const LaunchOperation operation = LaunchOperationFor(emu);
    if (operation == LaunchOperation::Refused) {
        Tell(window.hwnd, L"There is no emulator number " + std::to_wstring(emu) +
                         L".\nChoose the default emulator in the options.");
        return;
    }
    const std::wstring emulator = Module().programPaths[emu].path;
    GameFile game = SplitGame(window.gamePath);
    if (!Helper().CheckFile(emulator, true, kAppTitle)) return;
    if (!Helper().CheckFile(game.path, true, kAppTitle)) return;
    if (FileTypeOf(game.name) == FileType::Archive) {
        const auto unpacked = Unpack(window, game.path);
        if (!unpacked) return;
        game = SplitGame(*unpacked);
    }
    FindSetOf(window, game);
    const std::wstring entryName = EntryNameOf(window, game);
    const DiskSet& set = window.diskSet;
    if (RemembersEntry(game.name)) WriteGameIndex(window, set.paths.empty() ? game.name : ShownGameKey(window), window.gameIndex);
    if (!set.archiveName.empty() && !set.paths.empty()) WriteLastDisk(window, set.archiveName, set.names[set.shown]);
    const std::wstring flipList = FlipListFor(window, operation);
    const std::wstring message = Launch(operation, emulator, game, entryName, window.gameIndex, flipList);
    if (!message.empty()) Tell(window.hwnd, message);
}

}  // namespace floppex
