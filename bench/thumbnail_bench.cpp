// Draws a 256-pixel thumbnail of each file named, natively through the code FloppexShell.dll uses
// (the file's bytes listed under its name, the picture's rows as 32-bit pixels); prints how many
// were drawn. Exit status 1 when any file could not be read or listed.
#include <cstdio>
#include <string>
#include <vector>

#include "c64/file_bytes.h"
#include "shellext/directory_pixels_logic.h"
#include "shellext/handler_logic.h"

int main(int argc, char** argv) {
    constexpr int kSide = 256;
    std::vector<uint32_t> pixels(kSide * kSide);
    int drawn = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::string error;
        const std::wstring name = path.filename().wstring();
        const auto bytes = floppex::ReadFileBytes(path, floppex::shellext::StreamByteLimit(path.extension().wstring()), error);
        const auto screen = bytes ? floppex::shellext::DirectoryScreenOf(*bytes, name, error) : std::nullopt;
        if (!screen) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.c_str());
            continue;
        }
        floppex::shellext::ArgbRows(*screen, floppex::picture::ThumbnailSize(kSide), 0, kSide, pixels);
        drawn += pixels[0] != 0;
    }
    std::printf("%d thumbnails\n", drawn);
    return drawn == argc - 1 ? 0 : 1;
}
