#pragma once
// Text to standard output or standard error through the C streams: the C++ stream objects and
// their locale set-up would cost every start of this short-lived tool more than its work on a
// small file.
#include <cstdio>
#include <string_view>

namespace floppex::cli {

class Output {
public:
    explicit Output(std::FILE* file) : file_(file) {}

    Output& operator<<(std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), file_);
        return *this;
    }
    void Flush() { std::fflush(file_); }
    // False once a write has failed (a full disk, a closed pipe).
    bool Good() const { return std::ferror(file_) == 0; }

private:
    std::FILE* file_;
};

}  // namespace floppex::cli
