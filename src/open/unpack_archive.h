#pragma once
// Unpacks an archive into the working file "currgame" in the program folder (or, when that
// cannot be written, the user's own Floppex folder), and the disks of a set beside it.
#include <string>
#include <vector>

namespace floppex {

struct Unpacked {
    bool success = false;
    std::wstring extractedPath;  // on success: the C64 file to list or play
    std::wstring errorText;      // on failure: a message for the user
    // A disk of a set: every disk of it unpacked beside the working file ("currgame-2.d64"), in
    // order, with its name in the archive; or the disks of a set too large to unpack whole.
    std::vector<std::wstring> setPaths, setNames;
    size_t refusedSetDisks = 0;
};

// caption: the title any window of the outside archiver shows.
Unpacked UnpackArchive(const std::wstring& archivePath, const std::string& caption);

}  // namespace floppex
