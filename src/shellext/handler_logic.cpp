#include "shellext/handler_logic.h"

#include <algorithm>
#include <cwctype>

#include "c64/crt_file.h"
#include "c64/disk_image.h"
#include "c64/file_type.h"
#include "c64/p00_file.h"
#include "c64/prg_file.h"
#include "c64/t64_image.h"
#include "c64/tap_file.h"
#include "picture/directory_picture.h"

namespace floppex::shellext {

namespace {

// The ids share all but the last group's final three digits: the kind, then the extension's index.
constexpr std::wstring_view kClassIdStem = L"{6C64F10B-5E11-4D8A-9C64-000000000";

bool SameText(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

}  // namespace

std::wstring ClassId(const Handler& handler) {
    const auto found = std::find(kExtensions.begin(), kExtensions.end(), handler.extension);
    const auto index = static_cast<size_t>(found - kExtensions.begin());
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    return std::wstring(kClassIdStem) + (handler.kind == HandlerKind::Thumbnail ? L'1' : L'2') + kHex[index / 16] +
           kHex[index % 16] + L'}';
}

std::optional<Handler> HandlerOf(std::wstring_view classId) {
    for (const HandlerKind kind : {HandlerKind::Thumbnail, HandlerKind::Preview})
        for (const std::wstring_view extension : kExtensions)
            if (SameText(classId, ClassId({kind, extension}))) return Handler{kind, extension};
    return std::nullopt;
}

std::optional<int> ThumbnailSide(unsigned asked) {
    if (asked == 0) return std::nullopt;
    return static_cast<int>(std::min<unsigned>(asked, picture::kMaxSide));
}

size_t StreamByteLimit(std::wstring_view extension) {
    switch (FileTypeOf(extension)) {
        case FileType::Disk: return DiskImage::kMaxFileSize + 1;
        case FileType::Tape: return T64Image::kMaxFileSize + 1;
        case FileType::Program: return PrgFile::kMaxFileSize + 1;
        case FileType::PcFirst:
        case FileType::PcOther: return P00File::kMaxFileSize + 1;
        case FileType::RawTape: return TapFile::kMaxFileSize + 1;
        case FileType::Cartridge: return CrtFile::kMaxFileSize + 1;
        case FileType::Archive:
        case FileType::Other: break;
    }
    return 0;
}

std::wstring ListedName(std::wstring_view streamName, std::wstring_view extension) {
    const size_t slash = streamName.find_last_of(L"\\/");
    const std::wstring_view last = slash == std::wstring_view::npos ? streamName : streamName.substr(slash + 1);
    if (last.size() > extension.size() && SameText(last.substr(last.size() - extension.size()), extension))
        return std::wstring(last);
    return L"FILE" + std::wstring(extension);
}

int PreviewScale(int paneWidth) {
    return std::clamp(paneWidth / picture::ScaledSize(0, 1).width, picture::kMinScale, picture::kMaxScale);
}

}  // namespace floppex::shellext
