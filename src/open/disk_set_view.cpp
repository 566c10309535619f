#include "open/disk_set_view.h"

#include <algorithm>
#include <filesystem>

#include "archive/disk_set.h"
#include "contents/show_contents.h"
#include "settings/game_index_file.h"
#include "window/module_state.h"

namespace floppex {

void FindFolderSet(MainWindow& window, const std::wstring& diskPath) {
    window.diskSet = {};
    const std::vector<std::filesystem::path> set = archive::FolderSetOf(diskPath);
    if (set.size() > archive::kMaxSetDisks) window.diskSet.refused = set.size();
    if (set.size() < 2 || window.diskSet.refused) return;
    for (const std::filesystem::path& disk : set) {
        window.diskSet.paths.push_back(disk.wstring());
        window.diskSet.names.push_back(disk.filename().wstring());
    }
    window.diskSet.shown = static_cast<size_t>(std::ranges::find(window.diskSet.paths, diskPath) - window.diskSet.paths.begin());
    if (window.diskSet.shown == set.size()) window.diskSet = {};
}

void TakeArchiveSet(MainWindow& window, const std::wstring& archivePath, const Unpacked& unpacked) {
    window.diskSet = {unpacked.setPaths, unpacked.setNames, Helper().GetFileName(archivePath), 0, unpacked.refusedSetDisks};
    const auto last = std::ranges::find(unpacked.setNames, ReadLastDisk(window, window.diskSet.archiveName));
    if (last != unpacked.setNames.end()) window.diskSet.shown = static_cast<size_t>(last - unpacked.setNames.begin());
}

void ShowSetDisk(MainWindow& window, size_t disk) {
    DiskSet& set = window.diskSet;
    set.shown = disk;
    window.gamePath = set.paths[disk];
    window.gameIndex = std::max(ReadGameIndex(window, ShownGameKey(window)), 0);
    ShowContents(window, window.gamePath);
    if (!IsWindowEnabled(window.cmdPlay)) return;  // not read: the empty view
    const std::wstring label = set.names[disk] + L" - Disk " + std::to_wstring(disk + 1) + L" of " + std::to_wstring(set.paths.size());
    SetWindowTextW(window.lblFilename, label.c_str());
}

void StepDisk(MainWindow& window, int step) {
    const DiskSet& set = window.diskSet;
    if (set.paths.size() < 2 || window.requestPath.empty()) return;
    const size_t next = set.shown + static_cast<size_t>(step);
    if (next < set.paths.size()) ShowSetDisk(window, next);
}

}  // namespace floppex
