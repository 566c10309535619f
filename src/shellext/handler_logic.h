#pragma once
// What FloppexShell.dll decides without Windows: the extensions it serves and the class ids that
// serve them (one per extension and kind, since a stream carries no reliable name), the size of a
// thumbnail, how much of a stream is read, the name a stream is listed under, and the preview's scale.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace floppex::shellext {

enum class HandlerKind { Thumbnail, Preview };

// The types Floppex registers, but the cartridge: ".crt" is a certificate on Windows. No
// archives: a handler there would take every ZIP's thumbnail from Windows.
inline constexpr std::array<std::wstring_view, 9> kExtensions{
    L".d64", L".p00", L".prg", L".t64", L".tap", L".d71", L".d81", L".g64", L".x64"};

struct Handler {
    HandlerKind kind = HandlerKind::Thumbnail;
    std::wstring_view extension;
};

// "{...}", upper-case hex as StringFromGUID2 writes it; and back, for any spelling of the letters.
std::wstring ClassId(const Handler& handler);
std::optional<Handler> HandlerOf(std::wstring_view classId);

// The side of the square thumbnail drawn for one Explorer asks for: the picture's largest side
// for anything larger (Explorer scales it), nothing for 0.
std::optional<int> ThumbnailSide(unsigned asked);

// At most this many bytes are read from a stream of the type: one more than its reader takes, so
// a longer stream is refused by the reader's own rule, whatever size the stream claims.
size_t StreamByteLimit(std::wstring_view extension);

// The name a stream's bytes are listed under: the last part of the name the stream gives when it
// ends in the extension served, else "FILE" and the extension.
std::wstring ListedName(std::wstring_view streamName, std::wstring_view extension);

// The whole C64 pixels per pixel at which the picture's width fits a pane this wide, 1 to 8.
int PreviewScale(int paneWidth);

}  // namespace floppex::shellext
