#include "app/command_line_logic.h"

namespace floppex {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Index just past the program name, following the rules the system's own argument splitter
// uses for the first word: a quoted name ends at the closing quote, a bare one at the first blank.
size_t EndOfProgramName(std::wstring_view line) {
    if (!line.empty() && line.front() == L'"') {
        const size_t close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? line.size() : close + 1;
    }
    size_t i = 0;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    return i;
}

}  // namespace

std::wstring CommandTail(std::wstring_view commandLine) {
    size_t i = EndOfProgramName(commandLine);
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return std::wstring(commandLine.substr(i));
}

}  // namespace floppex
