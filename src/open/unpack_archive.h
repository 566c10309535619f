#pragma once
// Unpacks an archive into the working file "currgame" in the program folder (or, when that
// cannot be written, the user's own Floppex folder).
#include <string>

namespace floppex {

struct Unpacked {
    bool success = false;
    std::wstring extractedPath;  // on success: the C64 file to list or play
    std::wstring errorText;      // on failure: a message for the user
};

// caption: the title any window of the outside archiver shows.
Unpacked UnpackArchive(const std::wstring& archivePath, const std::string& caption);

}  // namespace floppex
