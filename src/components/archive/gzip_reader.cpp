#include "archive/gzip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>

#include "archive/inflate_stream.h"
#include "bytes/byte_order.h"

namespace floppex::archive {

namespace {

constexpr uint8_t kId1 = 0x1F, kId2 = 0x8B, kDeflate = 8;
constexpr uint8_t kFhcrc = 2, kFextra = 4, kFname = 8, kFcomment = 16, kReserved = 0xE0;
constexpr size_t kHeaderSize = 10, kTrailerSize = 8;

bool IsMemberStart(std::span<const uint8_t> b, size_t at) {
    return b.size() - at >= 2 && b[at] == kId1 && b[at + 1] == kId2;
}

// Skips a zero-terminated field; nothing when it runs off the end.
std::optional<size_t> SkipString(std::span<const uint8_t> b, size_t at, std::string* text) {
    const auto end = std::find(b.begin() + at, b.end(), 0);
    if (end == b.end()) return std::nullopt;
    if (text) text->assign(b.begin() + at, end);
    return static_cast<size_t>(end - b.begin()) + 1;
}

// The offset of the deflate data after the header at `at`.
std::optional<size_t> ParseHeader(std::span<const uint8_t> b, size_t at, std::string* name, ReadError& error) {
    error = ReadError::Damaged;
    if (b.size() - at < kHeaderSize) return std::nullopt;
    if (b[at + 2] != kDeflate) {
        error = ReadError::UnsupportedMethod;
        return std::nullopt;
    }
    const uint8_t flags = b[at + 3];
    if (flags & kReserved) return std::nullopt;
    std::optional<size_t> pos = at + kHeaderSize;
    if (flags & kFextra) {
        if (b.size() - *pos < 2) return std::nullopt;
        const size_t skip = 2 + Le16(b, *pos);
        if (b.size() - *pos < skip) return std::nullopt;
        *pos += skip;
    }
    if (flags & kFname) pos = SkipString(b, *pos, name);
    if (pos && (flags & kFcomment)) pos = SkipString(b, *pos, nullptr);
    if (pos && (flags & kFhcrc)) {
        if (b.size() - *pos < 2) return std::nullopt;
        *pos += 2;
    }
    if (pos) error = ReadError::None;
    return pos;
}

std::string WithoutFolders(const std::string& name) {
    const size_t slash = name.find_last_of("/\\:");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

ReadResult ReadGzip(std::span<const uint8_t> bytes, const ExtractLimits& limits) {
    ReadResult result;
    if (!IsMemberStart(bytes, 0)) {
        result.error = ReadError::NotThisFormat;
        return result;
    }
    const size_t cap = std::min(limits.maxMemberBytes, limits.maxTotalBytes);
    ArchiveMember member;
    std::string firstName;
    size_t at = 0;
    bool first = true;
    while (first || IsMemberStart(bytes, at)) {
        ReadError error = ReadError::Damaged;
        const auto data = ParseHeader(bytes, at, first ? &firstName : nullptr, error);
        if (!data) {
            result.error = error;
            if (error == ReadError::UnsupportedMethod) result.detail = "number " + std::to_string(bytes[at + 2]);
            return result;
        }
        const size_t before = member.data.size();
        // A one-member file (the usual kind) states its size in its last four bytes.
        const size_t stated = first && bytes.size() >= kTrailerSize ? Le32(bytes, bytes.size() - 4) : 0;
        const auto r = InflateRaw(bytes.subspan(*data), cap - before, member.data, stated);
        const size_t trailer = *data + r.consumed;
        if (r.status != InflateStatus::Ok || bytes.size() - trailer < kTrailerSize) {
            result.error = r.status == InflateStatus::TooLarge ? ReadError::TooLarge : ReadError::Damaged;
            return result;
        }
        const size_t produced = member.data.size() - before;
        const auto crc = static_cast<uint32_t>(crc32(0L, member.data.data() + before, static_cast<uInt>(produced)));
        if (crc != Le32(bytes, trailer) || static_cast<uint32_t>(produced) != Le32(bytes, trailer + 4)) {
            result.error = ReadError::Damaged;
            return result;
        }
        at = trailer + kTrailerSize;
        first = false;
    }
    member.name = WithoutFolders(firstName);
    result.members.push_back(std::move(member));
    return result;
}

}  // namespace floppex::archive
