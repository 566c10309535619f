#include "launch/request_logic.h"

namespace floppex {

Request ParseRequest(std::wstring_view request) {
    if (request.empty()) return {RequestKind::Empty, {}};
    const std::wstring_view head = request.substr(0, 3);
    const bool play = head.size() == 3 && head[0] == L'-' && (head[1] == L'P' || head[1] == L'p') && head[2] == L' ';
    if (play) return {RequestKind::Play, std::wstring(request.substr(3))};
    return {RequestKind::Open, std::wstring(request)};
}

}  // namespace floppex
