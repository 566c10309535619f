#pragma once
// The disk set of the listed disk: found beside it or unpacked from its archive, listed one disk at
// a time with "Disk N of M" after its name, and stepped through.
#include <string>

#include "open/unpack_archive.h"
#include "window/main_window.h"

namespace floppex {

// The set that the disk at diskPath is one of, among the files of its folder; none when it is one
// of none, or of a set too large to play whole (refused then counts its disks).
void FindFolderSet(MainWindow& window, const std::wstring& diskPath);

// The set that an archive unpacked (none when it unpacked one file); shown is the disk last played.
void TakeArchiveSet(MainWindow& window, const std::wstring& archivePath, const Unpacked& unpacked);

// Lists disk number disk of the set (from 0), its remembered entry selected.
void ShowSetDisk(MainWindow& window, size_t disk);

// The next (step 1) or previous (-1) disk of the set; nothing beyond its first and last.
void StepDisk(MainWindow& window, int step);

}  // namespace floppex
