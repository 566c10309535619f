#pragma once
// The preview handler: the directory picture in Explorer's preview pane, scrolled when it is
// longer than the pane.
#include <windows.h>
#include <unknwn.h>

#include <string_view>

namespace floppex::shellext {

// A new handler for files of the extension, with one reference, or null when out of memory.
IUnknown* NewPreviewHandler(std::wstring_view extension);

// The preview window's class is registered by the first preview; removed when none is left.
void ForgetPreviewClass();

}  // namespace floppex::shellext
