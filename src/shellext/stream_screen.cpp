#include "shellext/stream_screen.h"

#include <algorithm>
#include <optional>
#include <string>

#include "c64/file_type.h"
#include "shellext/directory_pixels_logic.h"
#include "shellext/handler_logic.h"

namespace floppex::shellext {

namespace {

constexpr ULONG kChunk = 64 * 1024;

// The stream from its start (or where it stands, when it cannot seek) to its end, or to limit bytes.
HRESULT ReadBounded(IStream* stream, size_t limit, std::vector<uint8_t>& bytes) {
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    while (bytes.size() < limit) {
        const size_t at = bytes.size();
        const ULONG wanted = static_cast<ULONG>(std::min<size_t>(kChunk, limit - at));
        bytes.resize(at + wanted);
        ULONG got = 0;
        const HRESULT result = stream->Read(bytes.data() + at, wanted, &got);
        bytes.resize(at + std::min(got, wanted));
        if (FAILED(result)) return result;
        if (got == 0) break;
    }
    return S_OK;
}

// The name the stream gives itself, if any: Explorer's file streams give the file's.
std::wstring NameOf(IStream* stream) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_DEFAULT))) return {};
    std::wstring name = stat.pwcsName ? stat.pwcsName : L"";
    CoTaskMemFree(stat.pwcsName);
    return name;
}

// A disk read as its listing asks: the few blocks it needs, at the offsets of a stream that can
// seek and tells its size; nothing when it cannot.
std::optional<HRESULT> ReadDiskScreen(IStream* stream, const std::wstring& name, std::vector<picture::ScreenRow>& screen) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return std::nullopt;
    HRESULT failure = S_OK;
    const ByteReader read = [stream, &failure](uint64_t offset, std::span<uint8_t> out) {
        ULONG got = 0;
        const HRESULT seek = stream->Seek({.QuadPart = static_cast<LONGLONG>(offset)}, STREAM_SEEK_SET, nullptr);
        const HRESULT result = FAILED(seek) ? seek : stream->Read(out.data(), static_cast<ULONG>(out.size()), &got);
        if (FAILED(result)) failure = result;
        return SUCCEEDED(result) && got == out.size();
    };
    std::string error;
    auto shown = DiskScreenOf(stat.cbSize.QuadPart, read, name, error);
    if (!shown) return FAILED(failure) ? failure : HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    screen = std::move(*shown);
    return S_OK;
}

}  // namespace

HRESULT ReadDirectoryScreen(IStream* stream, std::wstring_view extension, std::vector<picture::ScreenRow>& screen) {
    const std::wstring name = ListedName(NameOf(stream), extension);
    if (FileTypeOf(name) == FileType::Disk)
        if (const auto result = ReadDiskScreen(stream, name, screen)) return *result;
    std::vector<uint8_t> bytes;
    if (const HRESULT result = ReadBounded(stream, StreamByteLimit(extension), bytes); FAILED(result)) return result;
    std::string error;
    auto read = DirectoryScreenOf(bytes, name, error);
    if (!read) return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    screen = std::move(*read);
    return S_OK;
}

}  // namespace floppex::shellext
