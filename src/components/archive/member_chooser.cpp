#include "archive/member_chooser.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "archive/disk_set.h"

namespace floppex::archive {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Compares the digit runs starting at a[i] and b[j] by value; advances both past them.
int CompareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j) {
    while (i < a.size() && a[i] == '0') ++i;
    while (j < b.size() && b[j] == '0') ++j;
    const size_t si = i, sj = j;
    while (i < a.size() && IsDigit(a[i])) ++i;
    while (j < b.size() && IsDigit(b[j])) ++j;
    if (i - si != j - sj) return i - si < j - sj ? -1 : 1;
    const int c = a.substr(si, i - si).compare(b.substr(sj, j - sj));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int NaturalCompare(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (const int c = CompareNumbers(a, i, b, j)) return c;
            continue;
        }
        const char x = Lower(a[i++]), y = Lower(b[j++]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    if (i == a.size() && j == b.size()) return 0;
    return i == a.size() ? -1 : 1;
}

// What a Mac adds to the archives it makes: "__MACOSX/" folders and "._" files beside the real ones.
bool IsMacMetadata(std::string_view name) {
    return name.starts_with("__MACOSX/") || name.find("/__MACOSX/") != std::string_view::npos ||
           FileNameOf(name).starts_with("._");
}

}  // namespace

std::string LowerExtensionOf(std::string_view name) {
    const std::string_view file = FileNameOf(name);
    const size_t dot = file.rfind('.');
    std::string ext(dot == std::string_view::npos ? std::string_view() : file.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(), Lower);
    return ext;
}

std::string_view FileNameOf(std::string_view name) {
    const size_t sep = name.find_last_of("/\\:");
    return sep == std::string_view::npos ? name : name.substr(sep + 1);
}

std::string_view StemOf(std::string_view name) {
    const std::string_view file = FileNameOf(name);
    return file.substr(0, file.rfind('.'));
}

bool NaturalLess(std::string_view a, std::string_view b) { return NaturalCompare(a, b) < 0; }

MemberChoice ChooseMembers(const std::vector<ArchiveMember>& members) {
    std::vector<size_t> order;
    for (size_t i = 0; i < members.size(); ++i) {
        const ArchiveMember& m = members[i];
        if (m.data.size() >= 2 && FileTypeOf(m.name) != FileType::Other && !IsMacMetadata(m.name)) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        const std::string_view a = members[x].name, b = members[y].name;
        if (const int c = NaturalCompare(StemOf(a), StemOf(b))) return c < 0;
        return NaturalCompare(a, b) < 0;
    });
    const auto firstOf = [&](FileType type) {
        return std::find_if(order.begin(), order.end(), [&](size_t i) { return FileTypeOf(members[i].name) == type; });
    };
    MemberChoice choice;
    if (const auto disk = firstOf(FileType::Disk); disk != order.end()) {
        std::vector<std::string> names;
        for (const size_t i : order) names.push_back(members[i].name);
        for (const size_t i : DiskSetOf(names, static_cast<size_t>(disk - order.begin()))) choice.set.push_back(order[i]);
        choice.kind = MemberChoice::Kind::One;
        choice.members = {choice.set.front()};
        if (choice.set.size() < 2) choice.set.clear();
        return choice;
    }
    for (const FileType type : {FileType::Tape, FileType::RawTape}) {
        if (const auto it = firstOf(type); it != order.end()) {
            choice.kind = MemberChoice::Kind::One;
            choice.members = {*it};
            return choice;
        }
    }
    for (const size_t i : order) {
        const FileType type = FileTypeOf(members[i].name);
        if (type == FileType::Program || IsPcFile(type)) choice.members.push_back(i);
    }
    if (!choice.members.empty()) {
        choice.kind = choice.members.size() == 1 ? MemberChoice::Kind::One : MemberChoice::Kind::Programs;
        return choice;
    }
    if (const auto it = firstOf(FileType::Archive); it != order.end()) {
        choice.kind = MemberChoice::Kind::Archive;
        choice.members = {*it};
    } else if (const auto cartridge = firstOf(FileType::Cartridge); cartridge != order.end()) {
        choice.kind = MemberChoice::Kind::One;
        choice.members = {*cartridge};
    }
    return choice;
}

}  // namespace floppex::archive
