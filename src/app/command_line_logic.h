#pragma once
// The request is whatever follows the program's own name on the command line.
#include <span>
#include <string>
#include <string_view>

namespace floppex {

// Skips the program name and the blanks after it; the rest is returned as it came, quotes and
// inner blanks kept. A quoted name ends at its closing quote. A bare name is found the way the
// system found the program: the longest start of the line that names the running program
// (`programPaths`: its path in long and short form; a trailing part of it, as when started from
// its own folder; ".exe" may be left off; any letter case) followed by a blank or the end. Only
// when none matches does the name end at the first blank, so that an unquoted path with blanks,
// as the shell passes a registered command, still comes off whole.
std::wstring CommandTail(std::wstring_view commandLine, std::span<const std::wstring> programPaths = {});

}  // namespace floppex
