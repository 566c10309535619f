#pragma once
// MacLHA stores each file as MacBinary: a 128-byte header with the Mac file name and the fork
// sizes, then the forks. The header is taken off when it is certainly one.
#include <cstdint>
#include <string_view>
#include <vector>

namespace floppex::archive {

// fileName: the member's name without folders. Keeps the data fork (the resource fork when the
// data fork is empty) when data starts with a MacBinary header naming that file.
void StripMacBinary(std::string_view fileName, std::vector<uint8_t>& data);

}  // namespace floppex::archive
