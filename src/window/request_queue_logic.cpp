#include "window/request_queue_logic.h"

namespace floppex {

bool RequestQueue::Arrive(std::wstring request) {
    if (!handling_) {
        handling_ = true;
        waiting_.push_back(std::move(request));
        return true;
    }
    if (waiting_.size() < kMaxWaiting) waiting_.push_back(std::move(request));
    return false;
}

std::optional<std::wstring> RequestQueue::Next() {
    if (waiting_.empty()) return std::nullopt;
    std::wstring next = std::move(waiting_.front());
    waiting_.pop_front();
    return next;
}

void RequestQueue::Finish() {
    waiting_.clear();
    handling_ = false;
}

}  // namespace floppex
