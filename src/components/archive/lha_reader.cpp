#include "archive/lha_reader.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "archive/lha_crc16.h"
#include "archive/lha_decoders.h"
#include "archive/lha_header.h"
#include "archive/lha_macbinary.h"
#include "archive/lha_scan.h"

namespace floppex::archive {
namespace {

constexpr uint8_t kMacOs = 'm';

enum class Method { Stored, Lh1, Lh5Family, Lz5, Lzs, Folder, Unknown };

struct MethodInfo {
    Method method;
    int dictionaryBits = 0;
};

MethodInfo Identify(std::string_view m) {
    if (m == "-lh0-" || m == "-lz4-" || m == "-pm0-") return {Method::Stored};
    if (m == "-lh1-") return {Method::Lh1};
    if (m == "-lh4-") return {Method::Lh5Family, 12};
    if (m == "-lh5-") return {Method::Lh5Family, 13};
    if (m == "-lh6-") return {Method::Lh5Family, 15};
    if (m == "-lh7-") return {Method::Lh5Family, 16};
    if (m == "-lz5-") return {Method::Lz5};
    if (m == "-lzs-") return {Method::Lzs};
    if (m == "-lhd-") return {Method::Folder};
    return {Method::Unknown};
}

bool Unpack(MethodInfo info, std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out) {
    switch (info.method) {
    case Method::Stored:
        if (packed.size() < size) return false;
        out.assign(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
        return true;
    case Method::Lh1:
        return DecodeLh1(packed, size, out);
    case Method::Lh5Family:
        return DecodeLh5(packed, info.dictionaryBits, size, out);
    case Method::Lz5:
        return DecodeLz5(packed, size, out);
    case Method::Lzs:
        return DecodeLzs(packed, size, out);
    default:
        return false;
    }
}

// Old archivers store a folder as an empty stored file whose name ends in a separator.
bool IsFolderName(const LhaHeader& header) {
    return header.originalSize == 0 && !header.name.empty() && (header.name.back() == '/' || header.name.back() == '\\');
}

std::string_view BaseName(std::string_view name) {
    size_t slash = name.find_last_of("/\\");
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

// Bytes after the last member that are not a header: end-of-archive zeros, or the 0x1A filler
// of transfer programs.
bool IsFiller(std::span<const uint8_t> rest) {
    return std::all_of(rest.begin(), rest.end(), [](uint8_t b) { return b == 0 || b == 0x1A; });
}

class LhaArchiveReader {
public:
    LhaArchiveReader(std::span<const uint8_t> bytes, const ExtractLimits& limits) : bytes_(bytes), limits_(limits) {}

    ReadResult Read() {
        auto start = FindFirstLhaHeader(bytes_);
        if (!start) return Fail(ReadError::NotThisFormat, "no LHA header found");
        size_t pos = *start;
        for (bool first = true; pos < bytes_.size(); first = false) {
            auto rest = bytes_.subspan(pos);
            if (!first && IsFiller(rest)) break;
            std::string reason;
            auto header = ParseLhaHeader(rest, reason);
            if (!header) {
                // After the members, an end mark or bytes that are no header at all end the archive.
                if (!first && !LooksLikeLhaHeader(rest) && !HoldsDamagedLhaMember(rest)) break;
                return Fail(ReadError::Damaged, "bad header at offset " + std::to_string(pos) + ": " + reason);
            }
            if (header->packedSize > rest.size() - header->headerSize) {
                return Fail(ReadError::Damaged, header->name + ": packed data cut short");
            }
            auto packed = rest.subspan(header->headerSize, header->packedSize);
            if (!TakeMember(*header, packed)) return std::move(result_);
            pos += header->headerSize + header->packedSize;
        }
        return std::move(result_);
    }

private:
    bool TakeMember(const LhaHeader& header, std::span<const uint8_t> packed) {
        MethodInfo info = Identify(header.method);
        if (info.method == Method::Folder || IsFolderName(header)) return true;
        if (info.method == Method::Unknown) {
            if (!unsupported_) {
                unsupported_ = true;
                result_.error = ReadError::UnsupportedMethod;
                result_.detail = header.method;
            }
            return true;
        }
        if (result_.members.size() >= limits_.maxMembers) {
            return Stop(ReadError::TooLarge, "more than " + std::to_string(limits_.maxMembers) + " members");
        }
        if (header.originalSize > limits_.maxMemberBytes || header.originalSize > limits_.maxTotalBytes - total_) {
            return Stop(ReadError::TooLarge, header.name + ": unpacks to " + std::to_string(header.originalSize) + " bytes");
        }
        ArchiveMember member{header.name, {}};
        if (!Unpack(info, packed, header.originalSize, member.data)) {
            return Stop(ReadError::Damaged, header.name + ": packed data damaged");
        }
        if (LhaCrc16(member.data) != header.crc) return Stop(ReadError::Damaged, header.name + ": CRC mismatch");
        if (header.os == kMacOs) StripMacBinary(BaseName(header.name), member.data);
        total_ += member.data.size();
        result_.members.push_back(std::move(member));
        return true;
    }

    bool Stop(ReadError error, std::string detail) {
        result_.error = error;
        result_.detail = std::move(detail);
        return false;
    }

    ReadResult Fail(ReadError error, std::string detail) {
        Stop(error, std::move(detail));
        return std::move(result_);
    }

    std::span<const uint8_t> bytes_;
    const ExtractLimits& limits_;
    ReadResult result_;
    size_t total_ = 0;
    bool unsupported_ = false;
};

}  // namespace

ReadResult ReadLha(std::span<const uint8_t> bytes, const ExtractLimits& limits) {
    try {
        return LhaArchiveReader(bytes, limits).Read();
    } catch (const std::bad_alloc&) {
        ReadResult result;
        result.error = ReadError::TooLarge;
        result.detail = "out of memory";
        return result;
    }
}

}  // namespace floppex::archive
