#pragma once
// Which member of an archive is played: the first disk image (.d64, .d71, .d81, .g64, .x64; the
// first disk of its set when it belongs to one, see disk_set.h), else
// the first tape image (.t64, then .tap), else the program files (.prg, .p00 to .p09), else an
// archive inside the archive, else the first cartridge (.crt).
// "First" is in natural order of the file names without folders and extension: case is ignored
// and runs of digits compare by value, so "game-disk2" comes before "game-disk10" and "side a"
// before "side b". Equal names keep the archive's order.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_member.h"
#include "c64/file_type.h"

namespace floppex::archive {

// The name without folders (after the last '/', '\' or ':').
std::string_view FileNameOf(std::string_view name);

// The last extension of the file name in lower case, dot included; empty when there is none.
std::string LowerExtensionOf(std::string_view name);

// The file name without its last extension.
std::string_view StemOf(std::string_view name);

// Natural order: case-insensitive, digit runs by value.
bool NaturalLess(std::string_view a, std::string_view b);

struct MemberChoice {
    enum class Kind { Nothing, One, Programs, Archive };
    Kind kind = Kind::Nothing;
    std::vector<size_t> members;  // indices into the member list; Programs: all of them, in order
    std::vector<size_t> set;      // One disk of a set: the set's disks in order, the chosen first
};

// Members with fewer than two bytes (no load address) and the metadata files a Mac adds
// ("__MACOSX/", "._name") are passed over.
MemberChoice ChooseMembers(const std::vector<ArchiveMember>& members);

}  // namespace floppex::archive
