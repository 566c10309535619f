#include "open/file_choice_logic.h"

#include <cstring>

#include "c64/file_type.h"

namespace floppex {

std::wstring DialogFilter(std::wstring_view barSeparated) {
    std::wstring filter(barSeparated);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

bool IsSupportedGameFile(std::wstring_view path) { return FileTypeOf(path) != FileType::Other; }

OpenSelection ReadOpenResult(std::wstring_view buffer) {
    const size_t end = buffer.find(std::wstring_view(L"\0\0", 2));
    if (end != std::wstring_view::npos) buffer = buffer.substr(0, end);
    OpenSelection selection;
    const size_t firstEnd = buffer.find(L'\0');
    if (firstEnd == std::wstring_view::npos || firstEnd + 1 == buffer.size()) {
        const std::wstring_view path = buffer.substr(0, firstEnd);
        if (!path.empty()) selection.paths.emplace_back(path);
        return selection;
    }
    selection.several = true;
    selection.folder = std::wstring(buffer.substr(0, firstEnd));
    std::wstring joined = selection.folder;
    if (joined.empty() || joined.back() != L'\\') joined += L'\\';
    for (size_t start = firstEnd + 1; start <= buffer.size();) {
        size_t stop = buffer.find(L'\0', start);
        if (stop == std::wstring_view::npos) stop = buffer.size();
        if (stop > start) selection.paths.push_back(joined + std::wstring(buffer.substr(start, stop - start)));
        start = stop + 1;
    }
    return selection;
}

namespace {

uint32_t ReadU32(std::span<const std::byte> block, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, block.data() + at, sizeof value);  // little-endian, as the block is
    return value;
}

}  // namespace

std::optional<DroppedName> FirstDroppedName(std::span<const std::byte> block) {
    // DROPFILES: the offset of the list, a point, a flag, and whether the names are UTF-16.
    constexpr size_t kHeaderSize = 20;
    if (block.size() < kHeaderSize) return std::nullopt;
    const size_t offset = ReadU32(block, 0);
    const bool wide = ReadU32(block, 16) != 0;
    if (offset < kHeaderSize || offset >= block.size()) return std::nullopt;
    DroppedName name;
    name.wide = wide;
    if (wide) {
        for (size_t at = offset; at + 1 < block.size(); at += 2) {
            const auto c = static_cast<wchar_t>(std::to_integer<unsigned>(block[at]) |
                                                std::to_integer<unsigned>(block[at + 1]) << 8);
            if (c == L'\0') break;
            name.wideName.push_back(c);
        }
        if (name.wideName.empty()) return std::nullopt;
    } else {
        for (size_t at = offset; at < block.size() && block[at] != std::byte{0}; ++at)
            name.codePageName.push_back(static_cast<char>(block[at]));
        if (name.codePageName.empty()) return std::nullopt;
    }
    return name;
}

DropOutcome JudgeDrop(bool offersFileList, std::wstring_view firstPath) {
    if (!offersFileList) return DropOutcome::DataTypeNotSupported;
    return IsSupportedGameFile(firstPath) ? DropOutcome::Open : DropOutcome::FileNotSupported;
}

}  // namespace floppex
