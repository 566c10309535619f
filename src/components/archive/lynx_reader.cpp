#include "archive/lynx_reader.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace floppex::archive {

namespace {

constexpr size_t kBlock = 254;
constexpr size_t kMaxStub = 1024;  // a BASIC stub longer than this is not looked for
constexpr uint8_t kCr = 0x0D, kShiftSpace = 0xA0;
constexpr size_t kMaxDigits = 6;

// The directory text, read line by line within its blocks.
class DirectoryText {
public:
    DirectoryText(std::span<const uint8_t> text, size_t at) : text_(text), at_(at) {}

    void Limit(size_t end) { text_ = text_.first(std::min(end, text_.size())); }
    size_t Position() const { return at_; }

    // The bytes up to the next CR, which is consumed; nothing at the end of the text.
    std::optional<std::span<const uint8_t>> Line() {
        if (at_ >= text_.size()) return std::nullopt;
        const auto rest = text_.subspan(at_);
        const auto cr = std::find(rest.begin(), rest.end(), kCr);
        if (cr == rest.end()) return std::nullopt;
        const size_t n = static_cast<size_t>(cr - rest.begin());
        at_ += n + 1;
        return rest.first(n);
    }

    // A line holding one decimal number, spaces around it allowed.
    std::optional<size_t> Number() {
        const size_t mark = at_;
        const auto line = Line();
        const auto value = line ? LeadingNumber(*line, true) : std::nullopt;
        if (!value) at_ = mark;
        return value;
    }

    // The number at the start of text; with whole, nothing but spaces may follow it.
    static std::optional<size_t> LeadingNumber(std::span<const uint8_t> text, bool whole, size_t* end = nullptr) {
        size_t i = 0;
        while (i < text.size() && text[i] == ' ') ++i;
        size_t value = 0, digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            if (digits == kMaxDigits) return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        if (digits == 0) return std::nullopt;
        if (end) *end = i;
        while (whole && i < text.size() && text[i] == ' ') ++i;
        if (whole && i != text.size()) return std::nullopt;
        return value;
    }

private:
    std::span<const uint8_t> text_;
    size_t at_;
};

// Just after the BASIC stub's end (three zero bytes and a CR), or 0 without a stub.
size_t StubEnd(std::span<const uint8_t> b) {
    static constexpr uint8_t kStubEnd[] = {0, 0, 0, kCr};
    const auto head = b.first(std::min(b.size(), kMaxStub));
    const auto it = std::search(head.begin(), head.end(), std::begin(kStubEnd), std::end(kStubEnd));
    return it == head.end() ? 0 : static_cast<size_t>(it - head.begin()) + sizeof kStubEnd;
}

uint8_t TypeByte(std::span<const uint8_t> line) {
    if (line.size() != 1) return kDel;
    switch (line[0]) {
        case 'S': return kSeq;
        case 'P': return kPrg;
        case 'U': return kUsr;
        case 'R': return kRel;
        default: return kDel;
    }
}

struct Entry {
    CbmFile file;
    size_t blocks = 0;          // data blocks, without side sectors
    size_t sideSectors = 0;
    std::optional<size_t> lastUsed;  // bytes in the last block + 1; unknown for a last file without it
};

bool ReadEntry(DirectoryText& dir, bool last, Entry& e) {
    const auto name = dir.Line();
    if (!name || name->size() > 16) return false;
    auto padded = name->end();
    while (padded != name->begin() && *(padded - 1) == kShiftSpace) --padded;
    e.file.name.assign(name->begin(), padded);
    const auto blocks = dir.Number();
    const auto type = dir.Line();
    if (!blocks || !type) return false;
    e.file.type = TypeByte(*type);
    e.blocks = *blocks;
    if (e.file.type == kRel) {
        // The block count includes the side sectors, one for every 120 data blocks.
        const auto recordLength = dir.Number();
        if (!recordLength || *recordLength > 254) return false;
        e.file.recordLength = static_cast<uint8_t>(*recordLength);
        e.sideSectors = (e.blocks + 119) / 121;
        if (e.sideSectors == 0 || e.blocks < 121 * e.sideSectors - 119) return false;
        e.blocks -= e.sideSectors;
    }
    e.lastUsed = dir.Number();
    if (!e.lastUsed) return last && e.file.type != kRel;
    const bool empty = e.blocks == 0;
    return empty ? *e.lastUsed <= 1 : (*e.lastUsed >= 2 && *e.lastUsed <= 255);
}

// The first line: the number of directory blocks, then a text naming Lynx.
std::optional<size_t> DirectoryBlocks(DirectoryText& dir) {
    const auto signature = dir.Line();
    size_t numberEnd = 0;
    const auto blocks = signature ? DirectoryText::LeadingNumber(*signature, false, &numberEnd) : std::nullopt;
    static constexpr std::string_view kLynx = "LYNX";
    if (!blocks || std::search(signature->begin() + numberEnd, signature->end(), kLynx.begin(), kLynx.end()) ==
                       signature->end()) {
        return std::nullopt;
    }
    return blocks;
}

// The directory text after its first line, and the number of directory blocks that line gives.
// An archive without a BASIC stub starts with the directory; otherwise it follows the stub.
std::optional<size_t> OpenDirectory(std::span<const uint8_t> bytes, DirectoryText& dir) {
    for (const size_t start : {size_t{0}, StubEnd(bytes)}) {
        dir = DirectoryText(bytes, start);
        if (const auto blocks = DirectoryBlocks(dir)) return blocks;
    }
    return std::nullopt;
}

}  // namespace

bool LooksLikeLynx(std::span<const uint8_t> bytes) {
    DirectoryText dir(bytes, 0);
    return OpenDirectory(bytes, dir).has_value();
}

LynxResult ReadLynx(std::span<const uint8_t> bytes, const ExtractLimits& limits) {
    LynxResult result;
    DirectoryText dir(bytes, 0);
    const auto dirBlocks = OpenDirectory(bytes, dir);
    if (!dirBlocks) {
        result.error = ReadError::NotThisFormat;
        return result;
    }
    result.error = ReadError::Damaged;
    const size_t dataStart = *dirBlocks * kBlock;
    dir.Limit(dataStart);
    const auto count = dir.Number();
    if (*dirBlocks == 0 || !count || *count == 0) return result;
    if (*count > limits.maxMembers) {
        result.error = ReadError::TooLarge;
        return result;
    }
    std::vector<Entry> entries(*count);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!ReadEntry(dir, i + 1 == entries.size(), entries[i])) return result;
    }
    std::vector<CbmFile> files;
    size_t at = dataStart, total = 0;
    for (Entry& e : entries) {
        at += e.sideSectors * kBlock;
        const size_t span = e.blocks * kBlock;
        size_t size = 0;
        if (e.blocks > 0 && e.lastUsed) {
            size = span - kBlock + *e.lastUsed - 1;
        } else if (e.blocks > 0) {  // a last file without its length runs to the end of the archive
            size = at < bytes.size() ? std::min(span, bytes.size() - at) : span;
        }
        if (size > limits.maxMemberBytes || size > limits.maxTotalBytes - total) {
            result.error = ReadError::TooLarge;
            return result;
        }
        if (at > bytes.size() || bytes.size() - at < size) return result;
        e.file.data.assign(bytes.begin() + at, bytes.begin() + at + size);
        total += size;
        at += span;
        files.push_back(std::move(e.file));
    }
    result.files = std::move(files);
    result.error = ReadError::None;
    return result;
}

}  // namespace floppex::archive
