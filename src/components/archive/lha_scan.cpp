#include "archive/lha_scan.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "archive/lha_header.h"
#include "bytes/byte_order.h"

namespace floppex::archive {
namespace {

// How far into the file the first header may lie behind a self-extractor.
constexpr size_t kMaxLeadIn = 64 * 1024;

// The Amiga self-extractor carries a small archive of its own before the real one.
constexpr std::string_view kAmigaSfxId = "LhASFX V1.2,";

// A method field of one of the LHA families: -lh?-, -lz?-, -pm?- (but not the -pms- marker of
// PMarc's self-extractor).
bool HasKnownFamily(std::span<const uint8_t> at) {
    if (!LooksLikeLhaHeader(at)) return false;
    if (at[3] == 'l' && (at[4] == 'h' || at[4] == 'z')) return true;
    return at[3] == 'p' && at[4] == 'm' && at[5] != 's';
}

// A header that parses; with whole, also one whose packed data fits in what follows it.
bool IsPlausibleHeader(std::span<const uint8_t> at, bool whole) {
    if (!HasKnownFamily(at)) return false;
    std::string reason;
    auto header = ParseLhaHeader(at, reason);
    return header && (!whole || header->packedSize <= at.size() - header->headerSize);
}

// Where the member starting at the bytes would end, from its size fields read as they would be
// even though its header did not parse.
std::optional<uint64_t> DeclaredMemberEnd(std::span<const uint8_t> bytes) {
    if (bytes.size() < 28) return std::nullopt;
    uint64_t packed = Le32(bytes, 7);
    switch (bytes[20]) {
    case 0:
    case 1:
        return bytes[0] + 2 + packed;
    case 2:
        return Le16(bytes, 0) + packed;
    case 3:
        return Le32(bytes, 24) + packed;
    default:
        return std::nullopt;
    }
}

}  // namespace

// The offset of the first header. An archive that starts with a method field starts there, even
// when its header is damaged. Otherwise a self-extracting program may stand before the first
// header; a damaged first member is not taken for one. A header whose data is cut short is
// taken when there is no better one, so a truncated archive reads as damaged.
std::optional<size_t> FindFirstLhaHeader(std::span<const uint8_t> bytes) {
    if (HasKnownFamily(bytes)) return 0;
    size_t last = std::min(bytes.size(), kMaxLeadIn);
    auto lead = bytes.first(last);
    auto id = std::search(lead.begin(), lead.end(), kAmigaSfxId.begin(), kAmigaSfxId.end());
    size_t from = id == lead.end() ? 0 : static_cast<size_t>(id - lead.begin());
    int skip = id == lead.end() ? 0 : 1;
    for (bool whole : {true, false}) {
        int toSkip = skip;
        for (size_t offset = from; offset < last; ++offset) {
            if (!IsPlausibleHeader(bytes.subspan(offset), whole)) continue;
            if (toSkip-- == 0) return DeclaredMemberEnd(bytes) == offset ? 0 : offset;
        }
    }
    return std::nullopt;
}

// Bytes after a member that do not parse as a header are a damaged member, not trailing junk,
// when their size fields lead to the end (or its end mark) or to a header, or a header follows
// closely.
bool HoldsDamagedLhaMember(std::span<const uint8_t> rest) {
    if (auto end = DeclaredMemberEnd(rest); end && *end >= 22 && *end <= rest.size()) {
        if (*end + 1 >= rest.size() || IsPlausibleHeader(rest.subspan(*end), false)) return true;
    }
    size_t last = std::min(rest.size(), kMaxLeadIn);
    for (size_t offset = 1; offset < last; ++offset) {
        if (IsPlausibleHeader(rest.subspan(offset), false)) return true;
    }
    return false;
}

}  // namespace floppex::archive
