#pragma once
// What every archive reader gives the extractor: the members, fully decoded and CRC-checked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace floppex::archive {

struct ArchiveMember {
    std::string name;           // as stored in the archive (may hold folders, "../", drive letters)
    std::vector<uint8_t> data;  // decoded content
};

// Caps on what decoding may produce; a bomb stops at these.
struct ExtractLimits {
    size_t maxMemberBytes = 16u << 20;
    size_t maxTotalBytes = 64u << 20;
    size_t maxMembers = 4096;
};

enum class ReadError {
    None,
    NotThisFormat,      // no header of this format found
    Damaged,            // truncated, bad header, bad CRC, decoder ran off its data
    UnsupportedMethod,  // detail names the method, e.g. "-lh2-" or "implode"
    Encrypted,
    TooLarge,           // a limit of ExtractLimits was reached
};

struct ReadResult {
    std::vector<ArchiveMember> members;
    ReadError error = ReadError::None;
    std::string detail;

    bool ok() const { return error == ReadError::None; }
};

}  // namespace floppex::archive
