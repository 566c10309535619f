#include "c64/g64_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "bytes/byte_order.h"

namespace floppex {
namespace {

constexpr std::string_view kSignature = "GCR-1541";
constexpr size_t kHeaderSize = 12;  // signature, version, half tracks, largest track size
constexpr size_t kMaxHalfTracks = 168;  // as many as c1541 takes; a 1541 disk has 84
constexpr int kMinTracks = 35;
constexpr size_t kSectorSize = 256;
constexpr size_t kMostSectors = 21;
using SectorBytes = std::array<uint8_t, kSectorSize>;
constexpr size_t kSyncBits = 10;             // a sync mark: at least this many 1-bits in a row
constexpr size_t kDataSearchBits = 500 * 8;  // how far past a header's sync its data block's sync may be
constexpr uint8_t kHeaderMark = 0x08, kDataMark = 0x07;

// The .d64 error bytes of the errors a sector read ends with (the drive's code in the comment).
enum ErrorByte : uint8_t {
    kOk = 1,
    kHeaderNotFound = 2,  // 20
    kNoSync = 3,          // 21
    kNoDataBlock = 4,     // 22
    kDataChecksum = 5,    // 23
    kNotReady = 15,       // 74: the image has no usable track there
};

int SectorsPerTrack(int track) {
    if (track <= 17) return 21;
    if (track <= 24) return 19;
    if (track <= 30) return 18;
    return 17;
}

// The nibble of each 5-bit GCR code; a code the drive never writes reads as 0, as with c1541.
constexpr uint8_t kNibble[32] = {0, 0, 0, 0, 0, 0, 0,  0,  0, 8, 0,  1,  0, 12, 4,  5,
                                 0, 0, 2, 3, 0, 15, 6, 7, 0, 9, 10, 11, 0, 13, 14, 0};

// The bits of one track, read round and round as the disk turns.
class TrackRing {
public:
    explicit TrackRing(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Bits() const { return bytes_.size() * 8; }

    // Where the drive finds the sync marks: the bit after each run of enough 1-bits, in the order
    // of a search from bit 0 on. A run that goes on over the track's end into its start counts
    // whole, but comes last: the first search passes it by. Without a mark found in that first
    // search there is none. The search goes on from where scan left it until it finds a mark,
    // which it adds to ends, or until the track has no more (scan.done).
    struct SyncScan {
        size_t at = 0;         // the next byte to look at
        uint16_t before = 0;   // the 16 bits before it, while eight bytes are taken at a time
        size_t ones = 0;       // the 1-bits in a row before it, once they are taken one by one
        bool words = true, done = false;
    };
    void FindSync(SyncScan& scan, std::vector<size_t>& ends) const {
        const size_t known = ends.size();
        if (scan.words) {
            const size_t wordsEnd = bytes_.size() - bytes_.size() % 8;
            while (scan.at < wordsEnd) {
                // Eight bytes, and where the 16 bits before them run on into their first ten.
                const uint64_t bits = Be64(bytes_.data() + scan.at);
                uint64_t found = SyncEnds(bits) | (SyncEnds(uint64_t{scan.before} << 16 | bits >> 48) & 0xFFFF) << 48;
                scan.before = static_cast<uint16_t>(bits);
                scan.at += 8;
                if (!found) continue;
                for (; found; found &= found - 1)  // the earliest on the track last
                    ends.push_back(scan.at * 8 - 1 - static_cast<size_t>(std::countr_zero(found)));
                std::reverse(ends.begin() + static_cast<std::ptrdiff_t>(known), ends.end());
                return;
            }
            scan.words = false;
            scan.ones = std::min(kSyncBits, static_cast<size_t>(std::countr_one(scan.before)));
        }
        for (; !scan.done && ends.size() == known; ++scan.at) {
            if (scan.at == bytes_.size()) {
                FindSyncOverTheEnd(scan.ones, ends);
                scan.done = true;
            } else if (const size_t end = SyncEndIn(scan.at, scan.ones); end != kNoSyncEnd) {
                ends.push_back(end);
            }
        }
    }

    // Decodes the GCR groups (5 bytes for 4) from bit p on into out, 4 bytes at a time.
    void Decode(size_t p, std::span<uint8_t> out) const {
        const size_t groups = out.size() / 4;
        const bool straight = p / 8 + groups * 5 + 3 <= bytes_.size();  // the last group's 8 bytes before the track's end
        const uint8_t* b = bytes_.data() + p / 8;
        for (uint8_t* to = out.data(); to < out.data() + groups * 4; to += 4) {
            uint64_t group = 0;  // its 40 bits at the bottom
            if (straight) {
                group = Be64(b) << p % 8 >> 24;
                b += 5;
            } else {
                for (int i = 0; i < 5; ++i) {
                    group = group << 8 | Byte(p);
                    p = p + 8 < Bits() ? p + 8 : p + 8 - Bits();
                }
            }
            for (int n = 0; n < 4; ++n)
                to[n] = static_cast<uint8_t>(kNibble[group >> (35 - 10 * n) & 31] << 4 | kNibble[group >> (30 - 10 * n) & 31]);
        }
    }

private:
    static constexpr size_t kNoSyncEnd = SIZE_MAX;

    // Bit j set where bit j of bits is 0 and the ten above it are 1: the end of a sync mark. Bits 54
    // and up are never set: the ten above them are not all in bits.
    static uint64_t SyncEnds(uint64_t bits) {
        static_assert(kSyncBits == 10);
        const uint64_t ones2 = bits & bits >> 1, ones4 = ones2 & ones2 >> 2, ones8 = ones4 & ones4 >> 4;
        return ~bits & (ones8 & ones2 >> 8) >> 1;  // ones8 & ones2 >> 8: bit j when bits j to j + 9 are 1
    }

    // The run of 1-bits at the track's end, when it goes on into its start and ends in a mark the
    // search from bit 0 did not find.
    void FindSyncOverTheEnd(size_t ones, std::vector<size_t>& ends) const {
        size_t i = 0;
        while (i < bytes_.size() && bytes_[i] == 0xff) SyncEndIn(i++, ones);
        if (ends.empty() || i == bytes_.size()) return;
        if (const size_t end = SyncEndIn(i, ones); end != kNoSyncEnd && end != ends.front()) ends.push_back(end);
    }

    // Counts the 1-bits in a row on through byte i; the bit after a sync mark when one ends in it,
    // else kNoSyncEnd.
    size_t SyncEndIn(size_t i, size_t& ones) const {
        const uint8_t b = bytes_[i];
        if (b == 0xff) {
            ones = std::min(ones + 8, kSyncBits);
            return kNoSyncEnd;
        }
        const auto lead = static_cast<size_t>(std::countl_one(b));
        const bool sync = ones + lead >= kSyncBits;
        ones = static_cast<size_t>(std::countr_one(b));
        return sync ? i * 8 + lead : kNoSyncEnd;
    }

    // The 8 bits from bit p on.
    uint8_t Byte(size_t p) const {
        const size_t i = p / 8, shift = p % 8;
        if (shift == 0) return bytes_[i];
        const uint8_t next = bytes_[i + 1 < bytes_.size() ? i + 1 : 0];
        return static_cast<uint8_t>(bytes_[i] << shift | next >> (8 - shift));
    }

    std::span<const uint8_t> bytes_;
};

// The data block behind the sync mark at bit `to`, found from the header's mark at bit `from`.
// Its bytes go to sector whatever the block mark and checksum say, as the drive reads them.
uint8_t ReadDataBlock(const TrackRing& ring, size_t from, size_t to, std::span<uint8_t> sector) {
    const size_t distance = (to + ring.Bits() - from - 1) % ring.Bits() + 1;  // once around at most
    if (distance >= kDataSearchBits) return kNoSync;
    std::array<uint8_t, 260> block{};  // mark, 256 bytes, checksum, 2 bytes of gap
    ring.Decode(to, block);
    std::copy_n(block.begin() + 1, kSectorSize, sector.begin());
    uint8_t sum = block[kSectorSize + 1];
    for (uint8_t b : sector) sum ^= b;
    if (block[0] != kDataMark) return kNoDataBlock;
    return sum == 0 ? kOk : kDataChecksum;
}

// 35 tracks, or as many up to 42 as the track table holds.
int TrackCount(std::span<const uint8_t> g64, size_t halfTracks) {
    int tracks = kMinTracks;
    for (int t = kMinTracks + 1; t <= kMaxG64Tracks && static_cast<size_t>(t) * 2 <= halfTracks; ++t) {
        if (Le32(g64, kHeaderSize + 8 * static_cast<size_t>(t - 1)) != 0) tracks = t;
    }
    return tracks;
}

std::nullopt_t Fail(std::string& reason, std::string text) {
    reason = std::move(text);
    return std::nullopt;
}

}  // namespace

bool IsG64(std::span<const uint8_t> bytes) {
    return bytes.size() >= kSignature.size() && std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

// One track as read so far: its bits, the sync mark of each sector's header found (the first after
// the first sync mark wins, whatever its track, id and checksum, as with c1541: of a header only
// its mark and sector number count), and the sectors whose data blocks are decoded. Headers are
// looked at in the order of the sync marks, until the one of the sector wanted is found.
struct G64Sectors::Track {
    std::span<const uint8_t> gcr;  // where the image lies in memory, else in copied
    std::vector<uint8_t> copied;
    std::vector<size_t> syncs;  // found so far
    TrackRing::SyncScan scan;
    size_t headersSeen = 0;  // of the sync marks
    std::array<size_t, kMostSectors> header{};  // index into syncs
    std::array<uint8_t, kMostSectors> error{};
    std::array<bool, kMostSectors> read{};
    std::array<std::unique_ptr<SectorBytes>, kMostSectors> bytes;  // of the data blocks read
};

std::optional<G64Sectors> G64Sectors::Open(uint64_t size, ByteReader read, std::string& reason) {
    std::array<uint8_t, kHeaderSize> header{};
    if (size < kHeaderSize || !read(0, header) || !IsG64(header)) return Fail(reason, "not a G64 image");
    if (size > kMaxG64FileSize) return Fail(reason, "G64 image too large");
    if (header[8] != 0) return Fail(reason, "G64 version " + std::to_string(header[8]) + " is unknown");
    const size_t halfTracks = header[9];
    if (halfTracks > kMaxHalfTracks) return Fail(reason, "G64 with " + std::to_string(halfTracks) + " half tracks");
    std::vector<uint8_t> table(kHeaderSize + 8 * halfTracks);
    std::copy(header.begin(), header.end(), table.begin());
    if (table.size() > size || !read(kHeaderSize, std::span(table).subspan(kHeaderSize)))
        return Fail(reason, "G64 track table cut short");
    return G64Sectors(size, std::move(read), std::move(table));
}

std::optional<G64Sectors> G64Sectors::Open(std::span<const uint8_t> g64, std::string& reason) {
    auto sectors = Open(g64.size(), BytesReader(g64), reason);
    if (sectors) sectors->memory_ = g64;
    return sectors;
}

G64Sectors::G64Sectors(uint64_t size, ByteReader read, std::vector<uint8_t> table)
    : size_(size), read_(std::move(read)), table_(std::move(table)), tracks_(TrackCount(table_, table_[9])) {}

// The track's bits, its sync marks and its headers: a track that is beyond the image's tracks,
// whose entry leads outside the file or past the largest size, or that cannot be read has only
// unreadable sectors; one the image leaves out has no sync mark.
G64Sectors::Track& G64Sectors::Scanned(int track) {
    std::shared_ptr<Track>& scanned = scanned_[static_cast<size_t>(track)];
    if (scanned) return *scanned;
    scanned = std::make_shared<Track>();
    Track& t = *scanned;
    t.syncs.reserve(2 * kMostSectors + 2);  // a header's and a data block's for each sector, and a few more
    bool listed = static_cast<size_t>(track) * 2 <= table_[9];
    const uint64_t offset = listed ? Le32(table_, kHeaderSize + 8 * static_cast<size_t>(track - 1)) : 0;
    std::array<uint8_t, 2> length{};
    if (listed && offset != 0) {
        size_t size = offset <= size_ - 2 && read_(offset, length) ? Le16(length, 0) : 0;
        if (size > Le16(table_, 10) || size > size_ - offset - 2) size = 0;
        if (!memory_.empty()) {
            t.gcr = size ? memory_.subspan(offset + 2, size) : std::span<const uint8_t>();
        } else {
            t.copied.resize(size);
            t.gcr = t.copied;
        }
        if (t.gcr.empty() || (memory_.empty() && !read_(offset + 2, t.copied))) listed = false;
    }
    if (!listed) {
        t.error.fill(kNotReady);
        return t;
    }
    t.error.fill(kHeaderNotFound);
    return t;
}

// The k-th sync mark of the track is known, found now if it was not yet; false when the track has fewer.
bool G64Sectors::SyncKnown(Track& t, size_t k) {
    while (k >= t.syncs.size() && !t.scan.done) TrackRing(t.gcr).FindSync(t.scan, t.syncs);
    return k < t.syncs.size();
}

G64Sectors::SectorRead G64Sectors::Read(int track, int sector) {
    Track& t = Scanned(track);
    const auto s = static_cast<size_t>(sector), count = static_cast<size_t>(SectorsPerTrack(track));
    const TrackRing ring(t.gcr);
    while (t.error[s] == kHeaderNotFound && SyncKnown(t, t.headersSeen)) {
        const size_t k = t.headersSeen++;
        std::array<uint8_t, 4> header{};
        ring.Decode(t.syncs[k], header);
        const size_t found = header[2];
        if (header[0] != kHeaderMark || found >= count || t.error[found] != kHeaderNotFound) continue;
        t.error[found] = kOk;  // until its data block is read
        t.header[found] = k;
    }
    if (!t.read[s]) {
        t.read[s] = true;
        if (t.error[s] == kHeaderNotFound && t.syncs.empty()) t.error[s] = kNoSync;
        if (const size_t k = t.header[s]; t.error[s] == kOk) {  // its data block: behind the next sync mark
            const size_t next = SyncKnown(t, k + 1) ? k + 1 : 0;  // the first again after the last
            t.bytes[s] = std::make_unique<SectorBytes>();
            t.error[s] = ReadDataBlock(ring, t.syncs[k], t.syncs[next], *t.bytes[s]);
        }
    }
    static constexpr SectorBytes kNoData{};  // what a sector without a data block reads as
    return {t.bytes[s] ? *t.bytes[s] : kNoData, t.error[s]};
}

std::optional<std::vector<uint8_t>> G64SectorImage(std::span<const uint8_t> g64, std::string& reason) {
    auto sectors = G64Sectors::Open(g64, reason);
    if (!sectors) return std::nullopt;
    size_t blocks = 0;
    for (int t = 1; t <= sectors->Tracks(); ++t) blocks += static_cast<size_t>(SectorsPerTrack(t));
    std::vector<uint8_t> image(blocks * (kSectorSize + 1));
    size_t block = 0;
    for (int t = 1; t <= sectors->Tracks(); ++t) {
        for (int s = 0; s < SectorsPerTrack(t); ++s, ++block) {
            const G64Sectors::SectorRead read = sectors->Read(t, s);
            std::copy(read.bytes.begin(), read.bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(block * kSectorSize));
            image[blocks * kSectorSize + block] = read.error;
        }
    }
    return image;
}

}  // namespace floppex
