#include "c64/p00_file.h"

#include <algorithm>
#include <cstring>

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"
#include "c64/size_text.h"

namespace floppex {
namespace {

constexpr char kSignature[8] = {'C', '6', '4', 'F', 'i', 'l', 'e', '\0'};
constexpr size_t kNameOffset = 8, kNameSize = 16;

}  // namespace

bool P00File::Fail(std::string reason) {
    *this = P00File();
    error_ = std::move(reason);
    return false;
}

bool P00File::Open(const std::filesystem::path& path) {
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    return bytes ? Load(*bytes) : Fail(reason);
}

bool P00File::Load(std::span<const uint8_t> bytes) {
    *this = P00File();
    if (bytes.size() < sizeof kSignature || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0)
        return Fail("not a PC64 file: no \"C64File\" signature");
    if (bytes.size() < kHeaderSize + 2) return Fail("PC64 file too short: no program after the header");
    if (bytes.size() > kMaxFileSize) return Fail("PC64 file too large");

    // The name is padded with $00 (some tools use $A0).
    const auto stored = bytes.subspan(kNameOffset, kNameSize);
    const auto end = std::find(stored.begin(), stored.end(), uint8_t{0});
    name_ = PetName::FromStored(stored.first(static_cast<size_t>(end - stored.begin())));
    dataSize_ = bytes.size() - kHeaderSize;
    loadAddress_ = Le16(bytes, kHeaderSize);
    return true;
}

std::string P00File::SizeText() const { return KilobyteText(dataSize_); }

}  // namespace floppex
