#pragma once
// The in-memory half of extraction: archive bytes in, the one C64 file to play out.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_member.h"

namespace floppex::archive {

enum class UnpackError {
    None,
    NotAnArchive,       // no format recognised, by content or by name
    Damaged,
    UnsupportedMethod,  // detail names the method
    Encrypted,
    TooLarge,
    NoC64File,
    TooManyForDisk,     // program files that do not fit on one disk image
};

struct UnpackResult {
    std::string extension;      // of the file to write, lower case: ".d64", ".t64", ".prg", ".p03"
    std::vector<uint8_t> data;
    UnpackError error = UnpackError::None;
    std::string detail;
    bool zip = false;           // the outermost archive was a ZIP (another archiver may help then)
    // A disk of a set (see disk_set.h): the set's disks in order, the one to play first; empty when
    // it belongs to none, or when the set has more disks than kMaxSetDisks (refusedSetDisks then).
    std::vector<ArchiveMember> set;
    size_t refusedSetDisks = 0;

    bool ok() const { return error == UnpackError::None; }
};

// archiveName serves to recognise the type when the content does not tell, to name the content of
// a GZ without a stored name ("game.d64.gz" holds "game.d64") and to name a disk image made from
// several program files. Archives inside archives are unpacked too, three levels deep at most.
UnpackResult UnpackArchive(std::string_view archiveName, std::span<const uint8_t> bytes,
                           const ExtractLimits& limits);

// The choice among members that were unpacked some other way.
UnpackResult ChooseFrom(std::string_view archiveName, std::vector<ArchiveMember> members, const ExtractLimits& limits);

}  // namespace floppex::archive
