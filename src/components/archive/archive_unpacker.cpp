#include "archive/archive_unpacker.h"

#include <algorithm>
#include <string>

#include "archive/cbm_file.h"
#include "archive/d64_writer.h"
#include "archive/disk_set.h"
#include "archive/gzip_reader.h"
#include "archive/lha_reader.h"
#include "archive/lynx_reader.h"
#include "archive/member_chooser.h"
#include "archive/zip_reader.h"
#include "c64/petscii.h"

namespace floppex::archive {

namespace {

constexpr int kMaxDepth = 3;
constexpr size_t kNameLength = 16;
constexpr size_t kP00Header = 26, kP00NameAt = 8;
constexpr uint8_t kDiskId[] = {'F', 'X'};
constexpr size_t kD64Sizes[] = {174848, 175531, 196608, 197376};

enum class ArchiveType { Unknown, Zip, Lha, Lynx, Gzip };

bool StartsWith(std::span<const uint8_t> b, std::string_view magic) {
    return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin());
}

bool LooksLikeLha(std::span<const uint8_t> b) {
    return b.size() >= 7 && b[2] == '-' && b[3] == 'l' && (b[4] == 'h' || b[4] == 'z') && b[6] == '-';
}

ArchiveType TypeOf(std::string_view name, std::span<const uint8_t> bytes) {
    if (StartsWith(bytes, "PK\x03\x04") || StartsWith(bytes, "PK\x05\x06")) return ArchiveType::Zip;
    if (StartsWith(bytes, "\x1F\x8B")) return ArchiveType::Gzip;
    if (LooksLikeLha(bytes)) return ArchiveType::Lha;
    if (LooksLikeLynx(bytes)) return ArchiveType::Lynx;
    const std::string ext = LowerExtensionOf(name);
    if (ext == ".zip") return ArchiveType::Zip;
    if (ext == ".lha" || ext == ".lzh") return ArchiveType::Lha;
    if (ext == ".gz") return ArchiveType::Gzip;
    return ArchiveType::Unknown;
}

UnpackError FromRead(ReadError e) {
    switch (e) {
        case ReadError::None: return UnpackError::None;
        case ReadError::NotThisFormat: return UnpackError::NotAnArchive;
        case ReadError::Damaged: return UnpackError::Damaged;
        case ReadError::UnsupportedMethod: return UnpackError::UnsupportedMethod;
        case ReadError::Encrypted: return UnpackError::Encrypted;
        case ReadError::TooLarge: return UnpackError::TooLarge;
    }
    return UnpackError::Damaged;
}

UnpackResult Failure(UnpackError error, std::string detail = {}) {
    UnpackResult r;
    r.error = error;
    r.detail = std::move(detail);
    return r;
}

// A PC file name as a C64 name: the extension stripped, at most 16 characters, and characters
// that mean something to the disk drive in a name (or have no PETSCII form) as '-'.
std::vector<uint8_t> PetsciiName(std::string_view pcName) {
    std::vector<uint8_t> name = petscii::FromAscii(StemOf(pcName).substr(0, kNameLength));
    for (auto& c : name) {
        if (std::string_view("*?,=:\"").find(static_cast<char>(c)) != std::string_view::npos) c = '-';
    }
    if (name.empty()) name.push_back('-');
    return name;
}

// A program member as a disk file: a P00 keeps the C64 name and content from its header.
CbmFile ProgramFile(const ArchiveMember& m) {
    CbmFile f;
    const std::span<const uint8_t> d(m.data);
    if (IsPcFile(FileTypeOf(m.name)) && d.size() >= kP00Header && StartsWith(d, std::string_view("C64File\0", 8))) {
        const auto raw = d.subspan(kP00NameAt, kNameLength + 1);
        const auto end = std::find_if(raw.begin(), raw.end(), [](uint8_t c) { return c == 0 || c == 0xA0; });
        f.name.assign(raw.begin(), end);
        f.data.assign(d.begin() + kP00Header, d.end());
    } else {
        f.name = PetsciiName(m.name);
        f.data = m.data;
    }
    return f;
}

// Two files of one name could not both be loaded by name: later ones get "~2", "~3" ... at the end.
void MakeNamesUnique(std::vector<CbmFile>& files) {
    for (size_t i = 0; i < files.size(); ++i) {
        const auto taken = [&](const std::vector<uint8_t>& name) {
            return std::any_of(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i),
                               [&](const CbmFile& f) { return f.name == name; });
        };
        for (size_t n = 2; taken(files[i].name) && n < 1000; ++n) {
            const std::string tail = "~" + std::to_string(n);
            auto name = files[i].name;
            name.resize(std::min(name.size(), kNameLength - tail.size()));
            name.insert(name.end(), tail.begin(), tail.end());
            if (!taken(name)) files[i].name = std::move(name);
        }
    }
}

UnpackResult DiskOf(std::string_view archiveName, std::vector<CbmFile> files) {
    MakeNamesUnique(files);
    auto disk = WriteD64(files, PetsciiName(FileNameOf(archiveName)), kDiskId);
    if (!disk.ok()) return Failure(UnpackError::TooManyForDisk);
    UnpackResult r;
    r.extension = ".d64";
    r.data = std::move(disk.image);
    return r;
}

UnpackResult Unpack(std::string_view name, std::span<const uint8_t> bytes, const ExtractLimits& limits, int depth);

UnpackResult Choose(std::string_view archiveName, std::vector<ArchiveMember> members, const ExtractLimits& limits,
                    int depth) {
    const MemberChoice choice = ChooseMembers(members);
    switch (choice.kind) {
        case MemberChoice::Kind::Nothing:
            return Failure(UnpackError::NoC64File);
        case MemberChoice::Kind::One: {
            ArchiveMember& m = members[choice.members.front()];
            UnpackResult r;
            if (choice.set.size() > kMaxSetDisks) r.refusedSetDisks = choice.set.size();
            else for (const size_t i : choice.set) r.set.push_back(members[i]);
            r.extension = LowerExtensionOf(m.name);
            r.data = std::move(m.data);
            return r;
        }
        case MemberChoice::Kind::Programs: {
            std::vector<CbmFile> files;
            for (const size_t i : choice.members) files.push_back(ProgramFile(members[i]));
            return DiskOf(archiveName, std::move(files));
        }
        case MemberChoice::Kind::Archive: {
            const ArchiveMember& m = members[choice.members.front()];
            return Unpack(m.name, m.data, limits, depth + 1);
        }
    }
    return Failure(UnpackError::NoC64File);
}

// Members read with a passed-over error: the choice stands when it finds something, else the error.
UnpackResult ChooseOrFail(std::string_view archiveName, ReadResult read, const ExtractLimits& limits, int depth) {
    if (read.error == ReadError::Damaged || read.error == ReadError::TooLarge || read.error == ReadError::NotThisFormat) {
        return Failure(FromRead(read.error), read.detail);
    }
    UnpackResult r = Choose(archiveName, std::move(read.members), limits, depth);
    if (r.error == UnpackError::NoC64File && !read.ok()) return Failure(FromRead(read.error), read.detail);
    return r;
}

// The content of a GZ: its name, else the archive's name without ".gz", tells what it is; a disk,
// tape or PC64 file without a telling name is known by its content.
UnpackResult GzipContent(std::string_view archiveName, ArchiveMember inner, const ExtractLimits& limits, int depth) {
    std::string name = inner.name;
    if (name.empty()) {
        const std::string_view file = FileNameOf(archiveName);
        name = LowerExtensionOf(file) == ".gz" ? StemOf(file) : file;
    }
    const std::span<const uint8_t> d(inner.data);
    if (!IsListable(FileTypeOf(name))) {
        if (TypeOf(name, d) != ArchiveType::Unknown) return Unpack(name, d, limits, depth + 1);
        if (std::find(std::begin(kD64Sizes), std::end(kD64Sizes), d.size()) != std::end(kD64Sizes)) {
            name = "content.d64";
        } else if (StartsWith(d, "C64")) {
            name = "content.t64";  // both tape signatures start so; a PC64 file is checked next
            if (StartsWith(d, std::string_view("C64File\0", 8))) name = "content.p00";
        } else {
            return Failure(UnpackError::NoC64File);
        }
    }
    std::vector<ArchiveMember> content;
    content.push_back(ArchiveMember{std::move(name), std::move(inner.data)});
    return Choose(archiveName, std::move(content), limits, depth);
}

UnpackResult Unpack(std::string_view name, std::span<const uint8_t> bytes, const ExtractLimits& limits, int depth) {
    if (depth > kMaxDepth) return Failure(UnpackError::NoC64File);
    switch (TypeOf(name, bytes)) {
        case ArchiveType::Zip: {
            const auto wanted = [](std::string_view n) { return FileTypeOf(n) != FileType::Other; };
            UnpackResult r = ChooseOrFail(name, ReadZip(bytes, limits, wanted), limits, depth);
            r.zip = depth == 0;
            return r;
        }
        case ArchiveType::Lha:
            return ChooseOrFail(name, ReadLha(bytes, limits), limits, depth);
        case ArchiveType::Lynx: {
            LynxResult lynx = ReadLynx(bytes, limits);
            if (!lynx.ok()) return Failure(FromRead(lynx.error));
            return DiskOf(name, std::move(lynx.files));
        }
        case ArchiveType::Gzip: {
            ReadResult gz = ReadGzip(bytes, limits);
            if (!gz.ok()) return Failure(FromRead(gz.error), gz.detail);
            return GzipContent(name, std::move(gz.members.front()), limits, depth);
        }
        case ArchiveType::Unknown:
            break;
    }
    return Failure(UnpackError::NotAnArchive);
}

}  // namespace

UnpackResult UnpackArchive(std::string_view archiveName, std::span<const uint8_t> bytes, const ExtractLimits& limits) {
    return Unpack(archiveName, bytes, limits, 0);
}

UnpackResult ChooseFrom(std::string_view archiveName, std::vector<ArchiveMember> members, const ExtractLimits& limits) {
    return Choose(archiveName, std::move(members), limits, 0);
}

}  // namespace floppex::archive
