#pragma once
// The thumbnail provider: the directory picture at the size Explorer asks for.
#include <windows.h>
#include <unknwn.h>

#include <string_view>

namespace floppex::shellext {

// A new provider for files of the extension, with one reference, or null when out of memory.
IUnknown* NewThumbnailProvider(std::wstring_view extension);

}  // namespace floppex::shellext
