#include "cli/play.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "archive/disk_set.h"
#include "cli/archive_unpack.h"
#include "cli/child_process.h"
#include "cli/commands.h"
#include "cli/file_kind.h"
#include "cli/path_text.h"
#include "emulator/emulator_command.h"
#include "listing/c64_listing.h"

namespace floppex::cli {

namespace fs = std::filesystem;

namespace {

// A listing row number: digits only, 1 or more.
std::optional<int> RowNumber(const std::string& text) {
    int row = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (failure != std::errc() || end != text.data() + text.size() || row < 1) return std::nullopt;
    return row;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, {}, lower, lower);
}

// The entry listed as name: the first listed exactly so, else the only one that differs in letter
// case alone (c1541 lists unshifted letters in lower case, and people type them in capitals).
std::optional<int32_t> EntryNamed(const C64Listing& listing, const std::string& name, std::string& error) {
    const auto& entries = listing.entries;
    const auto exact = std::ranges::find(entries, name, [](const ListingEntry& e) { return e.name.text; });
    if (exact != entries.end()) return static_cast<int32_t>(exact - entries.begin());
    const auto alike = [&](const ListingEntry& e) { return SameIgnoringCase(e.name.text, name); };
    const auto first = std::ranges::find_if(entries, alike);
    if (first != entries.end() && std::count_if(first, entries.end(), alike) == 1)
        return static_cast<int32_t>(first - entries.begin());
    error = first == entries.end() ? "no entry named \"" + name + "\""
                                   : "several entries are named \"" + name + "\" in some letter case; give the name as listed";
    return std::nullopt;
}

// The 0-based entry the request asks for; the first when it names none.
std::optional<int32_t> ChosenEntry(const PlayRequest& request, const C64Listing& listing, std::string& error) {
    if (request.name) return EntryNamed(listing, *request.name, error);
    const size_t count = listing.entries.size();
    if (!request.row || static_cast<size_t>(*request.row) <= count) return request.row.value_or(1) - 1;
    error = "no entry " + std::to_string(*request.row) + ": the listing has " + std::to_string(count) +
            (count == 1 ? " entry" : " entries");
    return std::nullopt;
}

// The file VICE is given and its disk set: FILE itself and its siblings that form one, or what its
// archive holds unpacked into temp (made for an archive or a set only, its error in error).
struct Game {
    fs::path path;
    UnpackedSet set;
    size_t played = 0;  // in the set
};

std::optional<Game> GameOf(const fs::path& file, std::vector<fs::path> siblings, const std::optional<TempFolder>& temp,
                           std::string& error) {
    if (KindOf(file) != FileType::Archive) {
        Game game{file, {std::move(siblings)}};
        game.played = static_cast<size_t>(std::ranges::find(game.set.disks, file) - game.set.disks.begin());
        return game;
    }
    if (!temp) return std::nullopt;
    Game game;
    const auto unpacked = UnpackArchive(file, temp->Path(), ExtractedBaseName(file), error, &game.set);
    if (!unpacked) return std::nullopt;
    game.path = game.set.disks.empty() ? *unpacked : game.set.disks.front();
    return game;
}

// The disks of FILE's set in its folder; none for an archive, a lone disk or a set too large
// (refused then counts its disks).
std::vector<fs::path> SiblingSet(const fs::path& file, size_t& refused) {
    if (KindOf(file) != FileType::Disk) return {};
    std::vector<fs::path> set = archive::FolderSetOf(file);
    if (set.size() > archive::kMaxSetDisks) refused = set.size();
    return set.size() > 1 && !refused ? set : std::vector<fs::path>{};
}

// VICE's flip list of the game's set written into temp; empty for no set.
fs::path WriteFlipList(const Game& game, const std::optional<TempFolder>& temp) {
    if (game.set.disks.size() < 2 || !temp) return {};
    std::vector<std::string> lines;
    for (const fs::path& disk : game.set.disks) lines.push_back(PathText(fs::absolute(disk)));
    const fs::path list = temp->Path() / "currgame.vfl";
    std::ofstream(list, std::ios::binary) << ViceFlipList(lines, game.played);
    return list;
}

std::optional<C64Listing> GameListing(const fs::path& game, std::string& error) {
    C64File file = OpenC64File(game, KindOf(game));
    if (!file.listing) error = file.error;
    return std::move(file.listing);
}

// The emulator's exit status, or ours when it did not run.
int Start(const PlayRequest& request, const fs::path& game, const std::string& entryName, const fs::path& flipList,
          Output& err) {
    const std::optional<fs::path> emulator = FindProgram(request.emulator);
    if (!emulator) {
        Complain(err, request.emulator, "emulator not found (name it with --emulator PROGRAM)");
        return kExitNoEmulator;
    }
    std::vector<fs::path> args = request.emulatorArgs;
    for (NativeString& arg : ViceArguments<NativeString::value_type>(game.native(), fs::path(entryName).native(),
                                                                                 flipList.native())) args.emplace_back(std::move(arg));
    std::string error;
    const std::optional<int> status = RunProgram(*emulator, args, error);
    if (status) return *status;
    Complain(err, *emulator, "cannot start it: " + error);
    return kExitNoEmulator;
}

}  // namespace

std::optional<PlayRequest> ParsePlay(const std::vector<fs::path>& args, std::string& error) {
    PlayRequest request;
    std::vector<fs::path> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string text = PathText(args[i]);
        if ((text == "--name" || text == "--emulator") && i + 1 == args.size()) {
            error = text + " needs a value";
            return std::nullopt;
        }
        if (text == "--") {
            request.emulatorArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (text == "--name") {
            request.name = PathText(args[++i]);
        } else if (text == "--emulator") {
            request.emulator = args[++i];
        } else if (text.size() > 1 && text[0] == '-') {
            error = "unknown option " + text;
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        error = "play needs FILE and at most one ENTRY";
        return std::nullopt;
    }
    request.file = positional[0];
    if (positional.size() == 2) {
        request.row = RowNumber(PathText(positional[1]));
        if (!request.row || request.name) {
            error = request.row ? "give ENTRY or --name, not both" : "ENTRY is a row number from 1: " + PathText(positional[1]);
            return std::nullopt;
        }
    }
    return request;
}

int Play(const PlayRequest& request, Output& err) {
    if (auto why = NotAFile(request.file)) {
        Complain(err, request.file, *why);
        return kExitUnreadable;
    }
    std::string error;
    size_t refused = 0;
    std::vector<fs::path> siblings = SiblingSet(request.file, refused);
    const std::optional<TempFolder> temp = KindOf(request.file) == FileType::Archive || !siblings.empty()
                                               ? TempFolder::Create(error) : std::nullopt;
    const std::optional<Game> game = GameOf(request.file, std::move(siblings), temp, error);
    const std::optional<C64Listing> listing = game ? GameListing(game->path, error) : std::nullopt;
    if (!listing) {
        Complain(err, request.file, error);
        return kExitUnreadable;
    }
    refused = std::max(refused, game->set.refused);
    if (refused) Complain(err, request.file, archive::SetTooLargeText(refused));
    const std::optional<int32_t> entry = ChosenEntry(request, *listing, error);
    if (!entry) {
        Complain(err, request.file, error);
        return kExitNoEntry;
    }
    err.Flush();
    return Start(request, game->path, LaunchEntryName(*listing, *entry), WriteFlipList(*game, temp), err);
}

}  // namespace floppex::cli
