#pragma once
// The three kinds of message the program shows, each under its title and owned by the window
// or dialog the user is looking at.
#include <windows.h>

#include <string_view>

namespace floppex {

// Something the user should know: the information sign and OK.
void Tell(HWND owner, std::wstring_view text);
// A file type that is not taken: OK alone.
void TellPlain(HWND owner, std::wstring_view text);
// Something the user must put right before going on: the exclamation sign and OK.
void Warn(HWND owner, std::wstring_view text);

}  // namespace floppex
