#pragma once
// The C64 file types registered with the shell, so that it hands their files to Floppex.
#include <cstddef>
#include <string>

namespace floppex {

// Writes each type's keys, its icon and its "Contents..." and "Play" verbs, and the thumbnail and
// preview handlers of FloppexShell.dll beside the program, and tells Explorer when anything
// changed. One type a step, so that a window can answer its messages in between.
class FileTypeRegistration {
public:
    FileTypeRegistration();
    // Registers the next type; false once every type is registered (and Explorer told).
    bool Step();

private:
    std::wstring program_, handlers_;
    size_t next_ = 0;
    bool withHandlers_ = false, changed_ = false;
};

}  // namespace floppex
