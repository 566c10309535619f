#include "app/command_line_logic.h"

#include <algorithm>

namespace floppex {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t FoldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool StartsWithFolded(std::wstring_view text, std::wstring_view start) {
    if (start.empty() || text.size() < start.size()) return false;
    for (size_t i = 0; i < start.size(); ++i)
        if (FoldAscii(text[i]) != FoldAscii(start[i])) return false;
    return true;
}

bool EndsWithExe(std::wstring_view text) {
    return text.size() >= 4 && StartsWithFolded(text.substr(text.size() - 4), L".EXE");
}

// Length of the longest form of `path` that starts the line as a whole word: the path itself or
// any trailing part of it that begins after a separator, each with or without ".exe".
size_t LongestProgramMatch(std::wstring_view line, std::wstring_view path) {
    size_t best = 0;
    const auto consider = [&](std::wstring_view form) {
        const bool endsWord = line.size() == form.size() || (line.size() > form.size() && IsBlank(line[form.size()]));
        if (form.size() > best && endsWord && StartsWithFolded(line, form)) best = form.size();
    };
    for (size_t start = 0;;) {
        const std::wstring_view tail = path.substr(start);
        consider(tail);
        if (EndsWithExe(tail)) consider(tail.substr(0, tail.size() - 4));
        const size_t separator = path.find_first_of(L"\\/", start);
        if (separator == std::wstring_view::npos) return best;
        start = separator + 1;
    }
}

size_t EndOfProgramName(std::wstring_view line, std::span<const std::wstring> programPaths) {
    if (!line.empty() && line.front() == L'"') {
        const size_t close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? line.size() : close + 1;
    }
    size_t best = 0;
    for (const std::wstring& path : programPaths) best = std::max(best, LongestProgramMatch(line, path));
    if (best > 0) return best;
    size_t i = 0;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    return i;
}

}  // namespace

std::wstring CommandTail(std::wstring_view commandLine, std::span<const std::wstring> programPaths) {
    size_t i = EndOfProgramName(commandLine, programPaths);
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return std::wstring(commandLine.substr(i));
}

}  // namespace floppex
