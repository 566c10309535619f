#include "c64/tap_file.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"

namespace floppex {
namespace {

constexpr std::string_view kSignature = "C64-TAPE-RAW";
constexpr size_t kVersionOffset = 12, kLengthOffset = 16;
constexpr uint32_t kPause = 0xffffffff;  // a stretch without pulses
constexpr size_t kMinPilot = 32;         // a repeated block's pilot has 79 pulses, a first one thousands
constexpr uint32_t kMinShort = 0x24, kMaxShort = 0x3c;  // around the KERNAL's $30, for tapes run off speed
constexpr size_t kCountdown = 9;
constexpr size_t kMaxBlock = kCountdown + 0x10000 + 1;  // countdown, 64 KiB of data, checksum
constexpr size_t kHeaderBlock = 192;
constexpr size_t kNameOffset = 5, kNameSize = 16;
constexpr uint8_t kEndOfTape = 5;

// Pulse lengths in the file's units of 8 clock cycles. A zero byte is a pause: in version 0 of
// unknown length, in version 1 followed by its length in cycles (24 bits).
class PulseReader {
public:
    PulseReader(std::span<const uint8_t> bytes, bool longPauses) : bytes_(bytes), longPauses_(longPauses) {}
    bool AtEnd() const { return at_ >= bytes_.size(); }
    size_t Offset() const { return at_; }

    uint32_t Next() {
        const uint8_t b = bytes_[at_++];
        if (b != 0) return b;
        if (!longPauses_ || !HasBytes(bytes_, at_, 3)) return kPause;
        const uint32_t cycles = Le24(bytes_, at_);
        at_ += 3;
        return cycles / 8 == 0 ? kPause : cycles / 8;
    }

private:
    std::span<const uint8_t> bytes_;
    bool longPauses_;
    size_t at_ = 0;
};

enum class Pulse { Short, Medium, Long, Other };

// The KERNAL writes short, medium and long pulses of about 3 : 4 : 5 ($30, $42, $56); a pulse is
// judged against the short length measured on the pilot in front of the block, so that tapes
// recorded or read at another speed decode as well.
class Timing {
public:
    explicit Timing(uint32_t shortLength) : short_(shortLength) {}
    Pulse Classify(uint32_t pulse) const {
        const uint64_t p = uint64_t{pulse} * 100, s = short_;
        if (p < s * 50) return Pulse::Other;
        if (p < s * 119) return Pulse::Short;
        if (p < s * 158) return Pulse::Medium;
        return p < s * 220 ? Pulse::Long : Pulse::Other;
    }

private:
    uint32_t short_;
};

// The nine bit pulse pairs after a byte marker (short-medium 0, medium-short 1), least
// significant bit first, then the parity bit: the ones among all nine are odd in number.
std::optional<uint8_t> ReadByteBits(PulseReader& pulses, const Timing& timing) {
    unsigned value = 0, ones = 0;
    for (int bit = 0; bit < 9; ++bit) {
        if (pulses.AtEnd()) return std::nullopt;
        const Pulse a = timing.Classify(pulses.Next());
        if (pulses.AtEnd()) return std::nullopt;
        const Pulse b = timing.Classify(pulses.Next());
        const bool one = a == Pulse::Medium && b == Pulse::Short;
        if (!one && !(a == Pulse::Short && b == Pulse::Medium)) return std::nullopt;
        if (one && bit < 8) value |= 1u << bit;
        ones += one ? 1 : 0;
    }
    if (ones % 2 == 0) return std::nullopt;
    return static_cast<uint8_t>(value);
}

// The bytes of one block, its first marker's long pulse already read: long-medium before every
// byte, long-short after the last. Whatever else comes ends the block too.
std::optional<std::vector<uint8_t>> ReadBlock(PulseReader& pulses, const Timing& timing) {
    std::vector<uint8_t> bytes;
    for (bool marked = true; !pulses.AtEnd(); marked = false) {
        if (!marked && timing.Classify(pulses.Next()) != Pulse::Long) break;
        if (pulses.AtEnd() || timing.Classify(pulses.Next()) != Pulse::Medium) break;
        const auto byte = ReadByteBits(pulses, timing);
        if (!byte || bytes.size() == kMaxBlock) return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

struct Block {
    std::vector<uint8_t> payload;
    bool repeat = false;  // the second copy, counted down $09..$01 instead of $89..$81
};

// A block counts down first and ends with the exclusive or of its payload.
std::optional<Block> CheckedBlock(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kCountdown + 1 || (bytes[0] != 0x89 && bytes[0] != 0x09)) return std::nullopt;
    for (size_t i = 1; i < kCountdown; ++i) {
        if (bytes[i] != bytes[0] - i) return std::nullopt;
    }
    Block block{{bytes.begin() + kCountdown, bytes.end() - 1}, bytes[0] == 0x09};
    uint8_t sum = 0;
    for (uint8_t b : block.payload) sum ^= b;
    if (sum != bytes.back()) return std::nullopt;
    return block;
}

// The name is padded with blanks.
PetName HeaderName(std::span<const uint8_t> stored) {
    auto name = PetName::FromStored(stored);
    while (!name.bytes.empty() && name.bytes.back() == 0x20) name.bytes.pop_back();
    return name;
}

}  // namespace

std::string TapeProgram::TypeText() const {
    switch (type) {
        case 1: return "prg";
        case 3: return "abs";
        default: return "seq";
    }
}

bool TapFile::Fail(std::string reason) {
    *this = TapFile();
    error_ = std::move(reason);
    return false;
}

bool TapFile::Open(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileSize) {
        return Fail("too large for a raw tape: " + std::to_string(size) + " bytes, more than 64 MiB");
    }
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    if (!bytes) return Fail(reason);
    const auto stem = path.stem().u8string();
    return Load(*bytes, std::string(stem.begin(), stem.end()));
}

bool TapFile::Load(std::span<const uint8_t> bytes, std::string tapeName) {
    *this = TapFile();
    if (bytes.empty()) return Fail("empty file");
    if (bytes.size() > kMaxFileSize) {
        return Fail("too large for a raw tape: " + std::to_string(bytes.size()) + " bytes, more than 64 MiB");
    }
    if (bytes.size() < kHeaderSize) return Fail("too short for a raw tape: " + std::to_string(bytes.size()) + " bytes");
    if (!std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) {
        return Fail("not a C64 raw tape: no \"C64-TAPE-RAW\" signature");
    }
    if (bytes[kVersionOffset] > 2) return Fail("unknown raw tape version " + std::to_string(bytes[kVersionOffset]));
    tapeName_ = std::move(tapeName);
    version_ = bytes[kVersionOffset];
    fileSize_ = bytes.size();
    statedLength_ = Le32(bytes, kLengthOffset);
    const auto pulses = bytes.subspan(kHeaderSize);
    if (statedLength_ != pulses.size()) {
        problem_ = "the header gives " + std::to_string(statedLength_) + " bytes of pulses, the file holds " +
                   std::to_string(pulses.size());
    }
    if (version_ == 2) {
        problem_ += std::string(problem_.empty() ? "" : "; ") + "version 2 (half waves of the C16 and Plus/4) not decoded";
        return true;
    }
    Decode(pulses);
    return true;
}

// One pass over the pulses: a run of at least kMinPilot pulses of about one length is a pilot,
// and a long pulse after it may start a block. A block that fails is left where it failed, so no
// pulse is read twice.
void TapFile::Decode(std::span<const uint8_t> bytes) {
    PulseReader pulses(bytes, version_ == 1);
    uint64_t sum = 0;
    size_t count = 0, runStart = 0;
    std::vector<uint8_t> lastFirstCopy;
    while (!pulses.AtEnd()) {
        if (programs_.size() == kMaxPrograms) {
            problem_ += std::string(problem_.empty() ? "" : "; ") + "more than " + std::to_string(kMaxPrograms) +
                        " files, the rest not listed";
            return;
        }
        const size_t at = pulses.Offset();
        const uint32_t pulse = pulses.Next();
        const bool near = pulse != kPause && (uint64_t{pulse} * count > sum ? uint64_t{pulse} * count - sum
                                                                            : sum - uint64_t{pulse} * count) * 4 <= sum;
        if (count > 0 && near) {
            sum += pulse;
            ++count;
            continue;
        }
        const uint64_t shortLength = count ? sum / count : 0;
        if (count >= kMinPilot && shortLength >= kMinShort && shortLength <= kMaxShort &&
            Timing(static_cast<uint32_t>(shortLength)).Classify(pulse) == Pulse::Long) {
            const auto block = ReadBlock(pulses, Timing(static_cast<uint32_t>(shortLength)));
            const auto checked = block ? CheckedBlock(*block) : std::nullopt;
            if (checked && !(checked->repeat && checked->payload == lastFirstCopy)) AddBlock(checked->payload, kHeaderSize + runStart);
            if (checked) lastFirstCopy = checked->repeat ? std::vector<uint8_t>{} : checked->payload;
            sum = count = 0;
            continue;
        }
        sum = pulse == kPause ? 0 : pulse;
        count = pulse == kPause ? 0 : 1;
        runStart = at;
    }
}

// A program's data block is the next one of its size; any other block of 192 bytes starting with
// a header type is the next header. Data files' blocks (type 2) are passed over.
void TapFile::AddBlock(const std::vector<uint8_t>& payload, size_t offset) {
    if (awaitingData_ < programs_.size() && payload.size() == programs_[awaitingData_].DataSize()) {
        programs_[awaitingData_].dataFound = true;
        awaitingData_ = SIZE_MAX;
        return;
    }
    const uint8_t type = payload.empty() ? 0 : payload[0];
    if (payload.size() != kHeaderBlock || (type != 1 && type != 3 && type != 4 && type != kEndOfTape)) return;
    awaitingData_ = SIZE_MAX;
    if (type == kEndOfTape) return;
    TapeProgram program;
    program.type = type;
    program.startAddress = Le16(payload, 1);
    program.endAddress = Le16(payload, 3);
    program.name = HeaderName(std::span(payload).subspan(kNameOffset, kNameSize));
    program.offset = offset;
    if (type != 4) awaitingData_ = programs_.size();
    programs_.push_back(std::move(program));
}

std::string TapFile::HeaderText2() const { return "C64-TAPE-RAW version " + std::to_string(version_); }

}  // namespace floppex
