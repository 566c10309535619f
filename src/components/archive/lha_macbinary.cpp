#include "archive/lha_macbinary.h"

#include <algorithm>
#include <cstddef>

#include "bytes/byte_order.h"

namespace floppex::archive {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kNameLength = 1;      // 0x01: length, then up to 63 bytes of name
constexpr size_t kMaxName = 63;
constexpr size_t kDataForkSize = 0x53;
constexpr size_t kResourceForkSize = 0x57;
constexpr size_t kCommentLength = 0x63;
constexpr size_t kZeroTail = 0x65;     // MacBinary II fields that MacLHA leaves empty

bool AllZero(const std::vector<uint8_t>& b, size_t from, size_t to) {
    return std::all_of(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to),
                       [](uint8_t x) { return x == 0; });
}

bool IsMacBinaryHeader(std::string_view fileName, const std::vector<uint8_t>& data) {
    if (data.size() < kHeaderSize || data[0] != 0 || data[0x4A] != 0 || data[0x52] != 0) return false;
    if (!AllZero(data, kCommentLength, kCommentLength + 2) || !AllZero(data, kZeroTail, kHeaderSize)) return false;
    size_t nameLength = data[kNameLength];
    if (nameLength > kMaxName || nameLength != fileName.size()) return false;
    if (!std::equal(fileName.begin(), fileName.end(), data.begin() + 2)) return false;
    if (!AllZero(data, 2 + nameLength, 2 + kMaxName)) return false;
    uint64_t forks = uint64_t{Be32(data, kDataForkSize)} + Be32(data, kResourceForkSize) + kHeaderSize;
    return ((forks + 127) & ~uint64_t{127}) == data.size();
}

}  // namespace

void StripMacBinary(std::string_view fileName, std::vector<uint8_t>& data) {
    if (!IsMacBinaryHeader(fileName, data)) return;
    size_t dataFork = Be32(data, kDataForkSize);
    size_t keep = dataFork > 0 ? dataFork : Be32(data, kResourceForkSize);
    keep = std::min(keep, data.size() - kHeaderSize);
    data.erase(data.begin(), data.begin() + kHeaderSize);
    data.resize(keep);
}

}  // namespace floppex::archive
