#pragma once
// VICE's flip list of the listed disk's set, beside the working file.
#include <string>

#include "window/main_window.h"

namespace floppex {

// Writes "currgame.vfl" beside the working file: the set's disks, the one shown first, so that
// VICE's "attach next disk" brings the one after it. Its path; "" without a set or when it could
// not be written.
std::wstring WriteFlipList(const MainWindow& window);

}  // namespace floppex
