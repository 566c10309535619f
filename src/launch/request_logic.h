#pragma once
// What a request asks for: the empty view, a file to list, or a file to play at once.
#include <string>
#include <string_view>

namespace floppex {

enum class RequestKind { Empty, Open, Play };

struct Request {
    RequestKind kind = RequestKind::Empty;
    std::wstring path;  // verbatim: nothing trimmed, no quotes removed
};

// "-P " (any letter case) in front makes a play request; the path is the rest as it stands.
Request ParseRequest(std::wstring_view request);

}  // namespace floppex
