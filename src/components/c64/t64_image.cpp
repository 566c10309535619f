#include "c64/t64_image.h"

#include <algorithm>

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"

namespace floppex {
namespace {

constexpr size_t kHeaderSize = 64;
constexpr size_t kSignatureSize = 32;
constexpr size_t kMaximumOffset = 0x22, kUsedOffset = 0x24;
constexpr size_t kTapeNameOffset = 0x28, kTapeNameSize = 24;
constexpr size_t kSlotSize = 32;
constexpr size_t kSlotEntryType = 0, kSlotFileType = 1, kSlotStart = 2, kSlotEnd = 4, kSlotOffset = 8;
constexpr size_t kSlotName = 16, kSlotNameSize = 16;

// Tape names are padded with blanks, $A0 or NUL bytes.
PetName TapeNameFrom(std::span<const uint8_t> stored) {
    auto name = PetName::FromStored(stored);
    auto& b = name.bytes;
    b.erase(std::find(b.begin(), b.end(), uint8_t{0}), b.end());
    while (!b.empty() && b.back() == 0x20) b.pop_back();
    return name;
}

// The signature as text: printable characters up to the first NUL, trailing blanks removed.
std::string SignatureText(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t c : bytes.first(kSignatureSize)) {
        if (c == 0) break;
        text += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '.';
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

bool T64Image::Fail(std::string reason) {
    *this = T64Image();
    error_ = std::move(reason);
    return false;
}

bool T64Image::Open(const std::filesystem::path& path) {
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    return bytes ? Load(*bytes) : Fail(reason);
}

bool T64Image::Load(std::span<const uint8_t> bytes) {
    *this = T64Image();
    if (bytes.size() < kHeaderSize) return Fail("too short for a T64 image: " + std::to_string(bytes.size()) + " bytes");
    if (bytes.size() > kMaxFileSize) return Fail("T64 image too large");
    // "C64 tape image file", "C64S tape image file", "C64S tape file" and variants of them.
    if (bytes[0] != 'C' || bytes[1] != '6' || bytes[2] != '4') return Fail("not a T64 image: no \"C64\" signature");

    image_.assign(bytes.begin(), bytes.end());
    signature_ = SignatureText(bytes);
    tapeName_ = TapeNameFrom(bytes.subspan(kTapeNameOffset, kTapeNameSize));
    maximum_ = Le16(bytes, kMaximumOffset);
    ReadEntries();
    CorrectEndAddresses();
    return true;
}

// The used-entries count is often 0 or wrong, and the maximum sometimes too: every slot among
// max(maximum, used, 1) is looked at, as long as it lies in the file and before the first data.
void T64Image::ReadEntries() {
    const std::span<const uint8_t> image(image_);
    const size_t declared = std::max<size_t>({static_cast<size_t>(maximum_), Le16(image, kUsedOffset), 1});
    size_t dataStart = image.size();
    for (size_t slot = 0; slot < declared; ++slot) {
        const size_t at = kHeaderSize + slot * kSlotSize;
        if (at + kSlotSize > dataStart) break;
        const auto s = image.subspan(at, kSlotSize);
        if (s[kSlotEntryType] == 0) continue;
        TapeDirEntry e;
        e.entryType = s[kSlotEntryType];
        e.fileType = s[kSlotFileType];
        e.startAddress = Le16(s, kSlotStart);
        e.endAddress = Le16(s, kSlotEnd);
        e.offset = Le32(s, kSlotOffset);
        e.slot = slot;
        // Data before the end of this slot or beyond the file cannot be a program.
        if (e.offset < at + kSlotSize || e.offset >= image.size()) continue;
        e.name = TapeNameFrom(s.subspan(kSlotName, kSlotNameSize));
        dataStart = std::min<size_t>(dataStart, e.offset);
        entries_.items.push_back(std::move(e));
    }
}

// Old converters wrote wrong end addresses (often $C3C6). The data of an entry reaches to the
// next entry's data or to the end of the file; where the header disagrees, that length wins.
// After the last entry's data a file may hold padding, so there only a too long or empty length
// is corrected.
void T64Image::CorrectEndAddresses() {
    std::vector<TapeDirEntry*> byOffset;
    for (auto& e : entries_.items) byOffset.push_back(&e);
    std::stable_sort(byOffset.begin(), byOffset.end(),
                     [](const TapeDirEntry* a, const TapeDirEntry* b) { return a->offset < b->offset; });
    for (size_t i = 0; i < byOffset.size(); ++i) {
        TapeDirEntry& e = *byOffset[i];
        size_t boundary = image_.size();
        for (size_t j = i + 1; j < byOffset.size(); ++j) {
            if (byOffset[j]->offset > e.offset) {
                boundary = byOffset[j]->offset;
                break;
            }
        }
        const bool last = boundary == image_.size();
        const size_t room = std::min<size_t>(0x10000 - e.startAddress, 0xffff);
        const size_t available = std::min(boundary - e.offset, room);
        const size_t reported = e.DataSize();
        const bool wrong = last ? (reported == 0 || reported > available) : reported != available;
        if (wrong) e.endAddress = static_cast<uint16_t>(e.startAddress + available);
    }
}

std::vector<uint8_t> T64Image::ProgramData(size_t n) const {
    if (n < 1 || n > entries_.items.size()) return {};
    const TapeDirEntry& e = entries_.items[n - 1];
    const size_t begin = e.offset;
    const size_t end = std::min(image_.size(), begin + e.DataSize());
    std::vector<uint8_t> data{static_cast<uint8_t>(e.startAddress & 0xff), static_cast<uint8_t>(e.startAddress >> 8)};
    if (begin < end) data.insert(data.end(), image_.begin() + static_cast<std::ptrdiff_t>(begin),
                                 image_.begin() + static_cast<std::ptrdiff_t>(end));
    return data;
}

std::string T64Image::HeaderText1() const { return tapeName_.Unicode(); }

std::string T64Image::HeaderText2() const { return signature_; }

int32_t T64Image::HeaderNumber1() const { return static_cast<int32_t>(entries_.items.size()); }

int32_t T64Image::HeaderNumber2() const { return std::max(maximum_, HeaderNumber1()); }

}  // namespace floppex
