#include "archive/lha_header.h"

#include "archive/lha_crc16.h"
#include "bytes/byte_order.h"

namespace floppex::archive {
namespace {

constexpr size_t kCommonBytes = 22;     // fields every level has at the same place, and one more
constexpr size_t kLevel0Base = 24;      // level 0 header with an empty name, size bytes included
constexpr size_t kLevel1Base = 27;      // level 1 base header with an empty name
constexpr size_t kLevel2Base = 26;      // level 2 header without extended headers
constexpr size_t kLevel3Base = 32;      // level 3 header without extended headers
constexpr size_t kMaxLevel3Header = 65536;
constexpr uint8_t kOs9 = 'K';           // OS-9/68k writes a level 2 size two bytes short

constexpr uint8_t kExtHeaderCrc = 0x00;
constexpr uint8_t kExtFileName = 0x01;
constexpr uint8_t kExtFolder = 0x02;

std::string Text(std::span<const uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// What the extended headers add.
struct Extensions {
    std::optional<std::string> fileName;
    std::optional<std::string> folder;
    std::optional<size_t> crcAt;  // offset of the header CRC within the header
    uint16_t headerCrc = 0;
};

void TakeExtension(std::span<const uint8_t> header, size_t at, size_t dataSize, Extensions& ext) {
    auto data = header.subspan(at + 1, dataSize);
    switch (header[at]) {
    case kExtHeaderCrc:
        if (dataSize >= 2) {
            ext.crcAt = at + 1;
            ext.headerCrc = Le16(header, at + 1);
        }
        break;
    case kExtFileName:
        ext.fileName = Text(data);
        break;
    case kExtFolder: {
        std::string folder = Text(data);
        for (char& c : folder) {
            if (static_cast<uint8_t>(c) == 0xFF) c = '/';
        }
        ext.folder = folder;
        break;
    }
    default:
        break;
    }
}

// Walks a chain of extended headers inside header[first, end): each starts with its size field
// (fieldBytes wide, counting the type byte, the data and the next size field).
bool WalkChain(std::span<const uint8_t> header, size_t first, size_t end, size_t fieldBytes, Extensions& ext,
               std::string& reason) {
    size_t at = first;
    while (at + fieldBytes <= end) {
        size_t size = fieldBytes == 4 ? Le32(header, at) : Le16(header, at);
        if (size == 0) return true;
        at += fieldBytes;
        if (size < fieldBytes + 1 || size > end - at) {
            reason = "extended header runs past the header";
            return false;
        }
        TakeExtension(header, at, size - fieldBytes - 1, ext);
        at += size - fieldBytes;
    }
    return true;
}

bool HeaderCrcMatches(std::span<const uint8_t> header, const Extensions& ext) {
    if (!ext.crcAt) return true;
    static constexpr uint8_t kZero[2] = {0, 0};
    uint16_t crc = LhaCrc16(header.first(*ext.crcAt));
    crc = LhaCrc16(kZero, crc);
    crc = LhaCrc16(header.subspan(*ext.crcAt + 2), crc);
    return crc == ext.headerCrc;
}

std::string JoinName(const Extensions& ext, std::string baseName) {
    std::string name = ext.fileName ? *ext.fileName : std::move(baseName);
    if (!ext.folder || ext.folder->empty()) return name;
    std::string folder = *ext.folder;
    if (folder.back() != '/') folder += '/';
    return folder + name;
}

void TakeCommonFields(std::span<const uint8_t> at, LhaHeader& h) {
    h.method = Text(at.subspan(2, 5));
    h.packedSize = Le32(at, 7);
    h.originalSize = Le32(at, 11);
    h.level = at[20];
}

std::optional<LhaHeader> ParseLevel01(std::span<const uint8_t> at, std::string& reason) {
    LhaHeader h;
    TakeCommonFields(at, h);
    size_t baseSize = size_t{at[0]} + 2;
    size_t nameSize = at[21];
    size_t minimum = (h.level == 0 ? kLevel0Base : kLevel1Base) + nameSize;
    if (baseSize < minimum || baseSize > at.size()) {
        reason = baseSize > at.size() ? "header runs past the end" : "header too short for its name";
        return std::nullopt;
    }
    uint8_t sum = 0;
    for (uint8_t b : at.subspan(2, baseSize - 2)) sum = static_cast<uint8_t>(sum + b);
    if (sum != at[1]) {
        reason = "header checksum mismatch";
        return std::nullopt;
    }
    h.crc = Le16(at, 22 + nameSize);
    if (h.level == 1) h.os = at[24 + nameSize];
    std::string baseName = Text(at.subspan(22, nameSize));
    h.headerSize = baseSize;
    Extensions ext;
    if (h.level == 1) {
        // The extended headers follow the base header; the packed size counts them too.
        size_t next = Le16(at, baseSize - 2);
        while (next != 0) {
            if (next < 3 || next > at.size() - h.headerSize || next > h.packedSize) {
                reason = "extended header runs past its bounds";
                return std::nullopt;
            }
            size_t start = h.headerSize;
            TakeExtension(at, start, next - 3, ext);
            h.packedSize -= static_cast<uint32_t>(next);
            h.headerSize += next;
            next = Le16(at, start + next - 2);
        }
        if (!HeaderCrcMatches(at.first(h.headerSize), ext)) {
            reason = "header CRC mismatch";
            return std::nullopt;
        }
    }
    h.name = JoinName(ext, std::move(baseName));
    return h;
}

std::optional<LhaHeader> ParseLevel23(std::span<const uint8_t> at, std::string& reason) {
    LhaHeader h;
    TakeCommonFields(at, h);
    size_t fieldBytes = h.level == 3 ? 4 : 2;
    size_t chainStart = h.level == 3 ? 28 : 24;
    size_t size = 0;
    if (at.size() < (h.level == 3 ? kLevel3Base : kLevel2Base)) {
        reason = "header runs past the end";
        return std::nullopt;
    }
    if (h.level == 2) {
        size = Le16(at, 0);
        if (at[23] == kOs9) size += 2;
        if (size < kLevel2Base) {
            reason = "header too short";
            return std::nullopt;
        }
    } else {
        if (Le16(at, 0) != 4) {
            reason = "unknown word size";
            return std::nullopt;
        }
        size = Le32(at, 24);
        if (size < kLevel3Base || size > kMaxLevel3Header) {
            reason = "implausible header size";
            return std::nullopt;
        }
    }
    if (size > at.size()) {
        reason = "header runs past the end";
        return std::nullopt;
    }
    auto header = at.first(size);
    Extensions ext;
    if (!WalkChain(header, chainStart, size, fieldBytes, ext, reason)) return std::nullopt;
    if (!HeaderCrcMatches(header, ext)) {
        reason = "header CRC mismatch";
        return std::nullopt;
    }
    h.crc = Le16(at, 21);
    h.os = at[23];
    h.headerSize = size;
    h.name = JoinName(ext, {});
    return h;
}

}  // namespace

bool LooksLikeLhaHeader(std::span<const uint8_t> at) {
    return at.size() >= 7 && at[2] == '-' && at[6] == '-';
}

std::optional<LhaHeader> ParseLhaHeader(std::span<const uint8_t> at, std::string& reason) {
    if (at.size() < kCommonBytes) {
        reason = "header runs past the end";
        return std::nullopt;
    }
    if (!LooksLikeLhaHeader(at)) {
        reason = "no method field";
        return std::nullopt;
    }
    switch (at[20]) {
    case 0:
    case 1:
        return ParseLevel01(at, reason);
    case 2:
    case 3:
        return ParseLevel23(at, reason);
    default:
        reason = "unknown header level " + std::to_string(at[20]);
        return std::nullopt;
    }
}

}  // namespace floppex::archive
