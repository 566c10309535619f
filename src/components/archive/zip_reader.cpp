#include "archive/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "archive/inflate_stream.h"
#include "bytes/byte_order.h"

namespace floppex::archive {

namespace {

constexpr uint32_t kLocalSig = 0x04034b50;
constexpr uint32_t kCentralSig = 0x02014b50;
constexpr uint32_t kEndSig = 0x06054b50;
constexpr uint32_t kDescriptorSig = 0x08074b50;
constexpr size_t kLocalSize = 30, kCentralSize = 46, kEndSize = 22;
constexpr uint16_t kEncrypted = 1, kHasDescriptor = 8;
constexpr uint32_t kZip64Marker = 0xFFFFFFFF;

struct Entry {
    std::string name;
    uint16_t flags = 0, method = 0;
    uint32_t crc = 0, packed = 0, size = 0;
    size_t dataStart = 0;
};

// The fields local and central headers share, in the same order from the flags at flagsAt on; the
// caller has checked that the header and its name are there.
Entry SharedFields(std::span<const uint8_t> b, size_t flagsAt, size_t nameAt) {
    Entry e;
    e.flags = Le16(b, flagsAt);
    e.method = Le16(b, flagsAt + 2);
    e.crc = Le32(b, flagsAt + 8);
    e.packed = Le32(b, flagsAt + 12);
    e.size = Le32(b, flagsAt + 16);
    e.name.assign(reinterpret_cast<const char*>(&b[nameAt]), Le16(b, flagsAt + 20));
    return e;
}

std::string MethodName(uint16_t method) {
    switch (method) {
        case 1: return "Shrink";
        case 2: case 3: case 4: case 5: return "Reduce";
        case 6: return "Implode";
        case 9: return "Deflate64";
        case 12: return "BZIP2";
        case 14: return "LZMA";
        case 93: return "Zstandard";
        case 95: return "XZ";
        case 98: return "PPMd";
        default: return "number " + std::to_string(method);
    }
}

std::optional<size_t> FindEnd(std::span<const uint8_t> b) {
    if (b.size() < kEndSize) return std::nullopt;
    const size_t last = b.size() - kEndSize;
    const size_t first = last > 0xFFFF ? last - 0xFFFF : 0;  // the comment is at most 64 KiB
    for (size_t at = last + 1; at-- > first;) {
        if (Le32(b, at) == kEndSig) return at;
    }
    return std::nullopt;
}

// Where a local header's data starts, or nothing when the header is not there.
std::optional<size_t> LocalDataStart(std::span<const uint8_t> b, size_t at) {
    if (!HasBytes(b, at, kLocalSize) || Le32(b, at) != kLocalSig) return std::nullopt;
    const size_t start = at + kLocalSize + Le16(b, at + 26) + Le16(b, at + 28);
    if (start > b.size()) return std::nullopt;
    return start;
}

// The central directory's entries, or nothing when it is missing or damaged. zip64 tells that it
// needs the ZIP64 extension.
std::optional<std::vector<Entry>> ReadCentral(std::span<const uint8_t> b, size_t maxMembers, bool& zip64) {
    const auto end = FindEnd(b);
    if (!end) return std::nullopt;
    const uint16_t count = Le16(b, *end + 10);
    const uint32_t dirSize = Le32(b, *end + 12), dirOffset = Le32(b, *end + 16);
    zip64 = dirOffset == kZip64Marker || count == 0xFFFF;
    if (zip64 || dirSize > *end) return std::nullopt;
    // Bytes in front of the archive (a self-extractor) shift every offset by the same amount.
    const size_t dirStart = *end - dirSize;
    if (dirOffset > dirStart) return std::nullopt;
    const size_t shift = dirStart - dirOffset;
    std::vector<Entry> entries;
    size_t at = dirStart;
    for (uint16_t i = 0; i < count; ++i) {
        if (entries.size() >= maxMembers) break;
        if (!HasBytes(b, at, kCentralSize) || Le32(b, at) != kCentralSig) return std::nullopt;
        const uint16_t nameLen = Le16(b, at + 28);
        const size_t next = at + kCentralSize + nameLen + Le16(b, at + 30) + Le16(b, at + 32);
        if (next > b.size()) return std::nullopt;
        Entry e = SharedFields(b, at + 8, at + kCentralSize);
        const uint32_t local = Le32(b, at + 42);
        zip64 = local == kZip64Marker || e.packed == kZip64Marker || e.size == kZip64Marker;
        if (zip64) return std::nullopt;
        const auto start = LocalDataStart(b, shift + local);
        if (!start) return std::nullopt;
        e.dataStart = *start;
        entries.push_back(std::move(e));
        at = next;
    }
    return entries;
}

// Reads the data descriptor at `at` (signature optional) into e; returns the offset after it.
std::optional<size_t> ReadDescriptor(std::span<const uint8_t> b, size_t at, Entry& e) {
    if (HasBytes(b, at, 4) && Le32(b, at) == kDescriptorSig) at += 4;
    if (!HasBytes(b, at, 12)) return std::nullopt;
    e.crc = Le32(b, at);
    e.packed = Le32(b, at + 4);
    e.size = Le32(b, at + 8);
    return at + 12;
}

// A stored member with a data descriptor: the data ends where a descriptor names its own length.
std::optional<size_t> FindStoredEnd(std::span<const uint8_t> b, size_t start) {
    for (size_t at = start; HasBytes(b, at, 16); ++at) {
        if (Le32(b, at) == kDescriptorSig && Le32(b, at + 8) == at - start) return at;
    }
    return std::nullopt;
}

struct LocalWalk {
    std::vector<Entry> entries;
    ReadError error = ReadError::None;
};

// The end of a member whose sizes follow its data.
std::optional<size_t> FindDataEnd(std::span<const uint8_t> b, const Entry& e, size_t maxSize, ReadError& error) {
    if (e.method == 0) return FindStoredEnd(b, e.dataStart);
    if (e.method != 8) return std::nullopt;
    std::vector<uint8_t> scratch;
    const auto r = InflateRaw(b.subspan(e.dataStart), maxSize, scratch);
    if (r.status == InflateStatus::TooLarge) error = ReadError::TooLarge;
    if (r.status != InflateStatus::Ok) return std::nullopt;
    return e.dataStart + r.consumed;
}

// Walks the local headers from the first one found; entries whose sizes follow the data get them
// from their data descriptor. The walk ends cleanly only at the central directory.
LocalWalk ReadLocal(std::span<const uint8_t> b, const ExtractLimits& limits) {
    LocalWalk walk;
    static constexpr uint8_t kSig[] = {'P', 'K', 3, 4};
    size_t at = std::search(b.begin(), b.end(), std::begin(kSig), std::end(kSig)) - b.begin();
    while (walk.entries.size() < limits.maxMembers && HasBytes(b, at, 4) && Le32(b, at) == kLocalSig) {
        const auto start = LocalDataStart(b, at);
        if (!start) break;
        Entry e = SharedFields(b, at + 6, at + kLocalSize);
        e.dataStart = *start;
        std::optional<size_t> next;
        if (e.flags & kHasDescriptor) {
            const auto end = FindDataEnd(b, e, limits.maxMemberBytes, walk.error);
            if (end) next = ReadDescriptor(b, *end, e);
        } else if (HasBytes(b, e.dataStart, e.packed)) {
            next = e.dataStart + e.packed;
        }
        if (!next) break;
        walk.entries.push_back(std::move(e));
        at = *next;
    }
    // Without a central directory after the members the archive was cut short: members may be missing.
    const bool cleanEnd = HasBytes(b, at, 4) && (Le32(b, at) == kCentralSig || Le32(b, at) == kEndSig);
    if (walk.error == ReadError::None && (!cleanEnd || walk.entries.empty())) walk.error = ReadError::Damaged;
    return walk;
}

bool IsFolder(const std::string& name) { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

class Decoder {
public:
    Decoder(std::span<const uint8_t> bytes, const ExtractLimits& limits, ReadResult& result)
        : bytes_(bytes), limits_(limits), result_(result) {}

    // False when the read must stop.
    bool Decode(const Entry& e) {
        if (e.flags & kEncrypted) return PassOver(ReadError::Encrypted, "");
        if (e.method != 0 && e.method != 8) return PassOver(ReadError::UnsupportedMethod, MethodName(e.method));
        if (e.size > limits_.maxMemberBytes || e.size > limits_.maxTotalBytes - total_) {
            return Stop(ReadError::TooLarge);
        }
        if (!HasBytes(bytes_, e.dataStart, e.packed)) return Stop(ReadError::Damaged);
        const auto packed = bytes_.subspan(e.dataStart, e.packed);
        ArchiveMember m{e.name, {}};
        if (e.method == 0) {
            m.data.assign(packed.begin(), packed.end());
        } else {
            const auto r = InflateRaw(packed, e.size, m.data, e.size);
            if (r.status != InflateStatus::Ok) return Stop(ReadError::Damaged);
        }
        const auto crc = static_cast<uint32_t>(crc32(0L, m.data.data(), static_cast<uInt>(m.data.size())));
        if (m.data.size() != e.size || crc != e.crc) return Stop(ReadError::Damaged);
        total_ += m.data.size();
        result_.members.push_back(std::move(m));
        return true;
    }

private:
    bool PassOver(ReadError error, std::string detail) {
        if (result_.error == ReadError::None) {
            result_.error = error;
            result_.detail = std::move(detail);
        }
        return true;
    }
    bool Stop(ReadError error) {
        result_.error = error;
        result_.detail.clear();
        return false;
    }

    std::span<const uint8_t> bytes_;
    const ExtractLimits& limits_;
    ReadResult& result_;
    size_t total_ = 0;
};

}  // namespace

ReadResult ReadZip(std::span<const uint8_t> bytes, const ExtractLimits& limits, const MemberFilter& wanted) {
    ReadResult result;
    bool zip64 = false;
    auto entries = ReadCentral(bytes, limits.maxMembers, zip64);
    if (zip64) {
        result.error = ReadError::UnsupportedMethod;
        result.detail = "ZIP64";
        return result;
    }
    ReadError walkError = ReadError::None;
    if (!entries) {
        static constexpr uint8_t kSig[] = {'P', 'K', 3, 4};
        if (!FindEnd(bytes) && std::search(bytes.begin(), bytes.end(), std::begin(kSig), std::end(kSig)) == bytes.end()) {
            result.error = ReadError::NotThisFormat;
            return result;
        }
        LocalWalk walk = ReadLocal(bytes, limits);
        entries = std::move(walk.entries);
        walkError = walk.error;
    }
    Decoder decoder(bytes, limits, result);
    for (const Entry& e : *entries) {
        if (IsFolder(e.name) || (wanted && !wanted(e.name))) continue;
        if (!decoder.Decode(e)) return result;
    }
    if (walkError != ReadError::None) {
        result.error = walkError;
        result.detail.clear();
    }
    return result;
}

}  // namespace floppex::archive
