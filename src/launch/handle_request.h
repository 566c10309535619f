#pragma once
// The one way in for a file: the empty view, a file listed, or a file played at once.
#include <string>

#include "window/main_window.h"

namespace floppex {

// Handles request (empty, a path, or "-p " and a path). One that arrives while another is
// handled waits until that one is done (see RequestQueue).
void HandleRequest(MainWindow& window, std::wstring request);

}  // namespace floppex
