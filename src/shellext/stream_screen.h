#pragma once
// The directory screen of the C64 file in a stream the shell hands over.
#include <objidl.h>

#include <string_view>
#include <vector>

#include "picture/directory_screen.h"

namespace floppex::shellext {

// Reads at most what a file of the extension may hold, whatever the stream says of its size, and
// lists it: S_OK, or an error when the stream cannot be read or its bytes are no such file.
HRESULT ReadDirectoryScreen(IStream* stream, std::wstring_view extension, std::vector<picture::ScreenRow>& screen);

}  // namespace floppex::shellext
