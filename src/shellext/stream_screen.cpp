#include "shellext/stream_screen.h"

#include <algorithm>
#include <string>

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

}  // namespace

HRESULT ReadDirectoryScreen(IStream* stream, std::wstring_view extension, std::vector<picture::ScreenRow>& screen) {
    std::vector<uint8_t> bytes;
    if (const HRESULT result = ReadBounded(stream, StreamByteLimit(extension), bytes); FAILED(result)) return result;
    std::string error;
    auto read = DirectoryScreenOf(bytes, ListedName(NameOf(stream), extension), error);
    if (!read) return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    screen = std::move(*read);
    return S_OK;
}

}  // namespace floppex::shellext
