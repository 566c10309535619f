// libFuzzer targets, one per reader, built with FUZZ_TARGET naming the function to run: each feeds
// any bytes to its reader and checks what must hold of every result.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

#include "archive/archive_unpacker.h"
#include "archive/d64_writer.h"
#include "archive/gzip_reader.h"
#include "archive/lha_decoders.h"
#include "archive/lha_reader.h"
#include "archive/lynx_reader.h"
#include "archive/zip_reader.h"
#include "c64/crt_file.h"
#include "c64/disk_image.h"
#include "c64/listing_text.h"
#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"
#include "contents/listing_logic.h"
#include "listing/c64_listing.h"
#include "picture/directory_picture.h"
#include "shellext/directory_pixels_logic.h"

using namespace floppex;
using namespace floppex::archive;

namespace {

void Require(bool condition) { if (!condition) abort(); }
volatile size_t sink;
const ExtractLimits kLimits{.maxMemberBytes = 1 << 20, .maxTotalBytes = 4 << 20, .maxMembers = 64};

constexpr size_t kMostSectors = 80 * 40;  // a 1581 disk's, the largest

// The BAM's own free count is whatever a broken BAM says, as in c1541; the window's never more than a D64 holds.
void CheckDisk(const DiskImage& image, size_t directorySectors, size_t fileSize) {
    int64_t used = 0;
    for (const auto& e : image.Entries()) used += e.blockCount;
    Require(image.Entries().Count() <= 8 * directorySectors);
    const std::wstring free = BlocksFreeText(fileSize, used);
    Require(image.Format() != DiskFormat::D64 || free[0] == L'?' || std::stoi(free) <= 683 + 17 * (image.Tracks() - 35));
}

// The listing's texts made as well.
void TouchDisk(const DiskImage& image, size_t directorySectors, size_t fileSize) {
    sink = image.HeaderText1().size() + image.HeaderText2().size() + image.DiskId().Unicode().size() + C1541Listing(image).size();
    for (const auto& e : image.Entries()) sink = sink + e.Name().Unicode().size() + e.Blocks().size() + e.FileType().size();
    CheckDisk(image, directorySectors, fileSize);
}

// Also laid over track 18 of a disk kept between runs, with error bytes when the first byte is odd.
void Disk(const uint8_t* data, size_t size) {
    DiskImage image;
    if (image.Load({data, size})) TouchDisk(image, kMostSectors, size);
    static std::vector<uint8_t> plain(174848, 0), withErrors = [] { auto d = plain; d.resize(175531, 1); return d; }();
    const bool errors = size > 0 && (data[0] & 1);
    std::vector<uint8_t>& disk = errors ? withErrors : plain;
    const auto track18 = disk.begin() + 357 * 256;
    std::copy(data, data + std::min<size_t>(size, 19 * 256), track18);
    const size_t errorAt = 174848 + 357 + (size > 1 ? data[1] % 19 : 0);
    if (errors && size > 1) disk[errorAt] = data[1] >> 4;
    if (image.Load(disk)) TouchDisk(image, 19, disk.size());
    std::fill_n(track18, 19 * 256, 0);
    if (errors) disk[errorAt] = 1;
}

void LoadOverlaid(std::vector<uint8_t>& disk, std::initializer_list<std::pair<size_t, size_t>> areas, const uint8_t* data, size_t size) {
    size_t sectors = 0;
    for (size_t used = 0; const auto& [at, length] : areas) {
        const size_t n = std::min(length, size - used);
        std::copy_n(data + used, n, disk.begin() + static_cast<std::ptrdiff_t>(at));
        used += n;
        sectors += (length + 255) / 256;
    }
    DiskImage image;
    if (image.Load(disk)) TouchDisk(image, sectors, disk.size());
    for (const auto& [at, length] : areas) std::fill_n(disk.begin() + static_cast<std::ptrdiff_t>(at), length, 0);
}

// 1571: over track 18 and the second BAM block (53/0). 1581: over track 40 (header, BAM blocks,
// directory). X64: over the header behind its signature, then track 18 of the 1541 disk behind it.
void Disk71(const uint8_t* data, size_t size) {
    static std::vector<uint8_t> disk(349696);
    LoadOverlaid(disk, {{357 * 256, 19 * 256}, {1040 * 256, 256}}, data, size);
}
void Disk81(const uint8_t* data, size_t size) {
    static std::vector<uint8_t> disk(819200);
    LoadOverlaid(disk, {{1560 * 256, 40 * 256}}, data, size);
}
void X64(const uint8_t* data, size_t size) {
    static std::vector<uint8_t> disk = [] { std::vector<uint8_t> d(64 + 174848); std::copy_n("\x43\x15\x41\x64", 4, d.begin()); return d; }();
    LoadOverlaid(disk, {{4, 60}, {64 + 357 * 256, 19 * 256}}, data, size);
}

// Over the header and track table of c1541's G64_SEED (its track 18 alone, from the version byte on), then over
// that track's GCR bytes: the decoder meets sync marks, headers and data blocks of every kind. The listing's
// texts of whatever sectors it reads are left to the D64 target, which lays any bytes over track 18.
template <class Load>
void OverG64Seed(const uint8_t* data, size_t size, Load load) {
    static const std::vector<uint8_t> base = [] {
        std::vector<uint8_t> g64 = {'G', 'C', 'R', '-', '1', '5', '4', '1'};
        std::ifstream seed(G64_SEED, std::ios::binary);
        g64.insert(g64.end(), std::istreambuf_iterator<char>(seed), {});
        return g64;
    }();
    constexpr size_t kTable = 12 + 84 * 8, kTrack = kTable + 2;  // track 18's size, then its bytes
    Require(base.size() > kTrack);
    for (const size_t from : {size_t{8}, kTrack}) {
        if (size <= from - 8) return;
        static std::vector<uint8_t> bytes;
        bytes.assign(base.begin(), base.end());
        const size_t end = from == 8 ? kTable : base.size();
        std::copy_n(data + from - 8, std::min(size - (from - 8), end - from), bytes.begin() + static_cast<std::ptrdiff_t>(from));
        DiskImage image;
        if (!load(image, bytes)) continue;
        Require(image.HasErrorBytes() && image.Tracks() >= 35 && image.Tracks() <= 42);
        CheckDisk(image, kMostSectors, bytes.size());
    }
}

void G64(const uint8_t* data, size_t size) {
    OverG64Seed(data, size, [](DiskImage& image, const std::vector<uint8_t>& bytes) { return image.Load(bytes); });
}

// Every track decoded before the listing, as G64s were read before they were read as asked for:
// fuzz/run.sh runs it beside G64 to compare their speeds.
void G64Whole(const uint8_t* data, size_t size) {
    OverG64Seed(data, size, [](DiskImage& image, const std::vector<uint8_t>& bytes) {
        std::string reason;
        const auto sectors = G64SectorImage(bytes, reason);
        return sectors && image.Load(*sectors);
    });
}

// The second pass puts the format's signature over (T64) or in front of (P00) the bytes.
void Tape(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (int pass = 0; pass < 2; ++pass) {
        T64Image image;
        if (image.Load(bytes)) sink = image.HeaderText1().size() + image.HeaderText2().size() + image.HeaderNumber2();
        size_t n = 0;
        for (const TapeDirEntry& e : image.Entries()) {
            const auto data = image.ProgramData(++n);
            Require(data.size() == 2 + e.DataSize() || e.offset + e.DataSize() > bytes.size());
            sink = sink + e.Name().Unicode().size() + data.size();
        }
        if (bytes.size() <= 3) break;
        bytes[0] = 'C', bytes[1] = '6', bytes[2] = '4';
    }
}

void Pc64(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (int pass = 0; pass < 2; ++pass) {
        P00File file;
        if (file.Load(bytes)) {
            Require(file.DataSize() + P00File::kHeaderSize == bytes.size());
            sink = file.Name().Unicode().size() + file.SizeText().size() + file.LoadAddress();
        }
        bytes.insert(bytes.begin(), {'C', '6', '4', 'F', 'i', 'l', 'e', '\0'});
    }
}

void Program(const uint8_t* data, size_t size) {
    PrgFile prg;
    if (!prg.Load({data, size})) return;
    Require(prg.Size() == size && prg.AddressText1().size() == 5);
    sink = prg.SizeText().size() + prg.AddressText2().size() + prg.LoadAddress();
}

void Cartridge(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (int pass = 0; pass < 2 && bytes.size() >= 20; ++pass) {
        CrtFile crt;
        size_t end = crt.Load(bytes) ? crt.HeaderLength() : 0;
        for (const auto& chip : crt.Chips())
            Require(chip.offset == end && chip.packetLength >= 16u + chip.size && (end += chip.packetLength) <= size);
        sink = CartconvListing(crt).size() + crt.HeaderText2().size();
        std::copy_n("C64 CARTRIDGE   \0\0\0\x40", 20, bytes.begin());
    }
}

void RawTape(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (int pass = 0; pass < 2 && bytes.size() >= 13; ++pass) {
        TapFile tap;
        Require(!tap.Load(bytes, "fuzz") || (tap.FileSize() == size && tap.Programs().size() <= TapFile::kMaxPrograms));
        for (const auto& p : tap.Programs()) {
            Require(p.offset < size && (p.type == 1 || p.type == 3 || p.type == 4));
            sink = sink + p.Name().Unicode().size() + p.TypeText().size();
        }
        std::copy_n("C64-TAPE-RAW", 12, bytes.begin());
        bytes[12] &= 1;
    }
}

void Members(const ReadResult& result) {
    size_t total = 0;
    for (const auto& m : result.members)
        Require((total += m.data.size()) <= kLimits.maxTotalBytes && m.data.size() <= kLimits.maxMemberBytes);
    Require(result.members.size() <= kLimits.maxMembers);
}

void Zip(const uint8_t* data, size_t size) {
    const bool filtered = size > 0 && (data[0] & 1);
    const auto even = [](std::string_view n) { return n.size() % 2 == 0; };
    const auto result = ReadZip({data, size}, kLimits, filtered ? MemberFilter(even) : MemberFilter());
    Members(result);
    for (const auto& m : result.members) Require(!filtered || even(m.name));
}

void Gzip(const uint8_t* data, size_t size) {
    const auto result = ReadGzip({data, size}, kLimits);
    Require(result.members.size() <= 1 && result.ok() == (result.members.size() == 1));
    Members(result);
}

// Then a decoder on packed data: the first three bytes choose the decoder and the unpacked size.
void Lha(const uint8_t* data, size_t size) {
    const ReadResult result = ReadLha({data, size}, kLimits);
    Members(result);
    Require(result.ok() == (result.error == ReadError::None));
    if (size < 3) return;
    const size_t outSize = size_t{data[1]} << 8 | data[2];
    const std::span<const uint8_t> packed(data + 3, size - 3);
    std::vector<uint8_t> out;
    const int dictionaryBits[] = {12, 13, 15, 16}, decoder = data[0] % 7;
    const bool ok = decoder == 0   ? DecodeLh1(packed, outSize, out)
                    : decoder <= 4 ? DecodeLh5(packed, dictionaryBits[decoder - 1], outSize, out)
                    : decoder == 5 ? DecodeLz5(packed, outSize, out)
                                   : DecodeLzs(packed, outSize, out);
    Require(!ok || out.size() == outSize);
}

void Lynx(const uint8_t* data, size_t size) {
    const auto result = ReadLynx({data, size}, kLimits);
    Require(result.ok() || result.files.empty());
    for (const auto& f : result.files) Require(f.name.size() <= 16 && f.data.size() <= kLimits.maxMemberBytes);
    const uint8_t name[] = {'F', 'U', 'Z', 'Z'};
    const auto disk = WriteD64(result.files, name, name);
    Require(!disk.ok() || disk.image.size() == 174848);
}

void Extract(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const char* const names[] = {"game.zip", "game.lha", "game.lnx", "game.d64.gz", "game.lzh", "game"};
    const auto r = UnpackArchive(names[data[0] % 6], {data + 1, size - 1}, kLimits);
    if (!r.ok()) return;
    const std::string& e = r.extension;
    Require(e == ".d64" || e == ".t64" || e == ".prg" || e == ".crt" || e == ".tap" ||
            (e.size() == 4 && e.starts_with(".p0") && std::isdigit(e[3])));
    Require(r.data.size() >= 2 && r.data.size() <= kLimits.maxMemberBytes);
}

// Through the shell handlers' path: the screen from the bytes, then the PNG and the opaque pixels.
void Picture(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const wchar_t* const names[] = {L"a.d64", L"a.d81", L"a.t64", L"a.prg", L"a.p00", L"a.crt", L"a.tap", L"a.zip"};
    std::string error;
    const auto screen = shellext::DirectoryScreenOf({data + 1, size - 1}, names[data[0] % 8], error);
    if (!screen) return;
    Require(!screen->empty() && screen->size() <= picture::kMaxRows);
    const int side = 16 + data[0] % 64;
    const auto png = picture::DirectoryPng(*screen, petscii::CharSet::UpperCase, picture::ThumbnailSize(side));
    Require(png.size() > 24 && png[19] == side && png[23] == side);  // IHDR's width and height
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * static_cast<size_t>(side));
    shellext::ArgbRows(*screen, picture::ThumbnailSize(side), 0, side, pixels);
    Require(std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24 == 0xFF; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZ_TARGET(data, size);
    return 0;
}
