#pragma once
// Multi-disk games: which disk images belong to one set, and in which order a person counts them.
//
// A disk image marks itself as one disk of a set by a word and a number in its name: "Disk",
// "Disc" or "Side" (any letter case), blanks, '_' or '-' or nothing, then digits, a number word
// ("One" to "Ten") or a single letter ("Side B", "Disk A"), optionally followed by "of N".
// "d" and "s" alone count when digits follow at once ("game_d2", "game-s1"). A name may carry
// both ("(Disk 1 of 2)(Side B)", "(Disk 1 Side B)"). Its title is the rest of the name, letters
// and digits only, in lower case, so "Game (1987)(Maker)(Disk 2 of 3)[cr X].d64" has the title
// "game1987makercrx". Disk images of one title whose names all carry a mark form a set, ordered by
// disk, then side, then name (folders last). Bare numbers and roman numerals ("1942", "Summer Games II") mark
// nothing: they name games more often than disks.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace floppex::archive {

// More disks than this are not handed to an emulator as one set.
inline constexpr size_t kMaxSetDisks = 64;

struct DiskMark {
    std::string title;
    int disk = 0;  // 0 where the name numbers sides only
    int side = 0;  // 0 where it numbers disks only
};

// The mark of a file name (folders and extension are passed over); nothing when it carries none.
std::optional<DiskMark> DiskMarkOf(std::string_view name);

// The set that names[which] belongs to, in order, as indices into names: only disk images count.
// Just {which} when it belongs to no set.
std::vector<size_t> DiskSetOf(const std::vector<std::string>& names, size_t which);

// The set of the disk image at path among the files of its folder (at most 4096 of its title are
// looked at), in order; just the path itself when it belongs to none.
std::vector<std::filesystem::path> FolderSetOf(const std::filesystem::path& path);

// Why only the disk shown of a set of this many disks is played; told once.
std::string SetTooLargeText(size_t disks);

}  // namespace floppex::archive
