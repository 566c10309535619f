#pragma once
// The requests that reach the window while another is being handled (a second start's, while a
// listing or an unpacking lets messages through): they wait until that one is done, in the order
// they came, so that none replaces the working file the one before is about to list.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace floppex {

class RequestQueue {
public:
    // More than this many waiting are a flood, not a user: the rest are dropped.
    static constexpr size_t kMaxWaiting = 256;

    // True when no request is being handled: the caller handles this one now, taking it with Next.
    // Otherwise it waits behind the others, or is dropped when kMaxWaiting wait already.
    bool Arrive(std::wstring request);
    // The request to handle next, in the order they arrived; nothing when none is left.
    std::optional<std::wstring> Next();
    // The handling is over: what still waits is dropped, and the next request is handled at once.
    void Finish();

private:
    std::deque<std::wstring> waiting_;
    bool handling_ = false;
};

}  // namespace floppex
