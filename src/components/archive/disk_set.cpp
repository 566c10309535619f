#include "archive/disk_set.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "archive/member_chooser.h"
#include "c64/file_type.h"

namespace floppex::archive {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 10> kNumberWords = {"one", "two",   "three", "four", "five",
                                                           "six", "seven", "eight", "nine", "ten"};
constexpr size_t kMaxFolderFiles = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }  // names are looked at in lower case
bool IsAlnum(char c) { return IsDigit(c) || IsLetter(c); }
bool IsGap(char c) { return c == ' ' || c == '_' || c == '-'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t SkipGaps(std::string_view s, size_t i) {
    while (i < s.size() && IsGap(s[i])) ++i;
    return i;
}

// A disk's or side's number at s[i]: up to three digits, a number word or one letter, each
// standing alone; end is set past it.
std::optional<int> NumberAt(std::string_view s, size_t i, size_t& end) {
    const auto alone = [&](size_t at) { return at >= s.size() || !IsAlnum(s[at]); };
    size_t j = i;
    int value = 0;
    while (j < s.size() && IsDigit(s[j]) && j - i < 3) value = value * 10 + (s[j++] - '0');
    if (j > i) return alone(j) ? (end = j, std::optional(value)) : std::nullopt;
    for (size_t w = 0; w < kNumberWords.size(); ++w) {
        if (s.substr(i).starts_with(kNumberWords[w]) && alone(i + kNumberWords[w].size())) {
            end = i + kNumberWords[w].size();
            return static_cast<int>(w) + 1;
        }
    }
    if (i < s.size() && IsLetter(s[i]) && alone(i + 1)) {
        end = i + 1;
        return s[i] - 'a' + 1;
    }
    return std::nullopt;
}

struct Found {
    bool side = false;
    int number = 0;
    size_t end = 0;
};

// A mark starting at s[i] (s in lower case): the word, the number and any "of N" after it.
std::optional<Found> MarkAt(std::string_view s, size_t i) {
    if (i > 0 && IsAlnum(s[i - 1])) return std::nullopt;
    Found found;
    size_t at = 0;
    if (s.substr(i).starts_with("disk") || s.substr(i).starts_with("disc") || s.substr(i).starts_with("side")) {
        found.side = s[i] == 's';
        at = SkipGaps(s, i + 4);
    } else if ((s[i] == 'd' || s[i] == 's') && i + 1 < s.size() && IsDigit(s[i + 1])) {
        found.side = s[i] == 's';
        at = i + 1;
    } else {
        return std::nullopt;
    }
    const std::optional<int> number = NumberAt(s, at, found.end);
    if (!number) return std::nullopt;
    found.number = *number;
    const size_t of = SkipGaps(s, found.end);
    size_t countEnd = 0;
    if (s.substr(of).starts_with("of") && NumberAt(s, SkipGaps(s, of + 2), countEnd)) found.end = countEnd;
    return found;
}

struct Marked {
    size_t index;
    DiskMark mark;
};

// Only disk images join sets: other files have no mark.
std::optional<DiskMark> ImageMarkOf(std::string_view name) {
    return FileTypeOf(name) == FileType::Disk ? DiskMarkOf(name) : std::nullopt;
}

}  // namespace

std::optional<DiskMark> DiskMarkOf(std::string_view name) {
    std::string s(StemOf(name));
    std::transform(s.begin(), s.end(), s.begin(), Lower);
    DiskMark mark;
    bool marked = false;
    for (size_t i = 0; i < s.size();) {
        const std::optional<Found> found = MarkAt(s, i);
        if (!found) {
            if (IsAlnum(s[i])) mark.title += s[i];
            ++i;
            continue;
        }
        (found->side ? mark.side : mark.disk) = found->number;
        marked = true;
        i = found->end;
    }
    return marked ? std::optional(mark) : std::nullopt;
}

std::vector<size_t> DiskSetOf(const std::vector<std::string>& names, size_t which) {
    const auto markOf = [&](size_t i) { return ImageMarkOf(names[i]); };
    const std::optional<DiskMark> mine = markOf(which);
    if (!mine) return {which};
    std::vector<Marked> set;
    for (size_t i = 0; i < names.size(); ++i) {
        if (auto mark = markOf(i); mark && mark->title == mine->title) set.push_back({i, std::move(*mark)});
    }
    if (set.size() < 2) return {which};
    std::stable_sort(set.begin(), set.end(), [&](const Marked& a, const Marked& b) {
        if (a.mark.disk != b.mark.disk) return a.mark.disk < b.mark.disk;
        if (a.mark.side != b.mark.side) return a.mark.side < b.mark.side;
        const std::string_view x = names[a.index], y = names[b.index];
        if (NaturalLess(FileNameOf(x), FileNameOf(y)) || NaturalLess(FileNameOf(y), FileNameOf(x)))
            return NaturalLess(FileNameOf(x), FileNameOf(y));
        return NaturalLess(x, y);
    });
    std::vector<size_t> order;
    for (const Marked& m : set) order.push_back(m.index);
    return order;
}

std::vector<fs::path> FolderSetOf(const fs::path& path) {
    const auto utf8 = [](const fs::path& file) {
        const auto u8 = file.filename().u8string();
        return std::string(u8.begin(), u8.end());
    };
    // Only names of the same title can join the set: a disk without a mark belongs to none and
    // its folder is not read, and of the others only those are asked whether they are files.
    const auto titleOf = [](const std::string& name) {
        const std::optional<DiskMark> mark = ImageMarkOf(name);
        return mark ? std::optional(mark->title) : std::nullopt;
    };
    const std::optional<std::string> title = titleOf(utf8(path));
    if (!title) return {path};
    std::vector<fs::path> files;
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator() && files.size() < kMaxFolderFiles;
         it.increment(ec)) {
        std::string name = utf8(it->path());
        if (titleOf(name) != title || !it->is_regular_file(ec)) continue;
        names.push_back(std::move(name));
        files.push_back(it->path());
    }
    const auto own = std::find_if(files.begin(), files.end(), [&](const fs::path& f) { return f.filename() == path.filename(); });
    const size_t which = static_cast<size_t>(own - files.begin());
    if (own == files.end()) {
        names.push_back(utf8(path));
        files.push_back(path);
    }
    std::vector<fs::path> set;
    for (const size_t i : DiskSetOf(names, which)) set.push_back(i == which ? path : files[i]);
    return set;
}

std::string SetTooLargeText(size_t disks) {
    return "This disk is one of a set of " + std::to_string(disks) + " disks, more than the " +
           std::to_string(kMaxSetDisks) + " handed to an emulator together: only this disk is played";
}

}  // namespace floppex::archive
