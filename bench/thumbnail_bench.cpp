// Draws a 256-pixel thumbnail of each file named, natively through the code FloppexShell.dll uses
// (a disk's blocks read as its listing asks, any other file's bytes listed under its name, the
// picture's rows as 32-bit pixels); prints how many were drawn. Exit status 1 when any file could
// not be read or listed.
#include <cstdio>
#include <string>
#include <vector>

#include "c64/file_bytes.h"
#include "c64/file_type.h"
#include "shellext/directory_pixels_logic.h"
#include "shellext/handler_logic.h"

namespace {

std::optional<std::vector<floppex::picture::ScreenRow>> ScreenOf(const std::filesystem::path& path, std::string& error) {
    const std::wstring name = path.filename().wstring();
    if (floppex::FileTypeOf(name) == floppex::FileType::Disk) {
        const floppex::FilePieces file(path);
        const auto read = [&file](uint64_t offset, std::span<uint8_t> out) { return file.Read(offset, out); };
        return floppex::shellext::DiskScreenOf(file.Size(), read, name, error);
    }
    const auto bytes = floppex::ReadFileBytes(path, floppex::shellext::StreamByteLimit(path.extension().wstring()), error);
    return bytes ? floppex::shellext::DirectoryScreenOf(*bytes, name, error) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kSide = 256;
    std::vector<uint32_t> pixels(kSide * kSide);
    int drawn = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::string error;
        const auto screen = ScreenOf(path, error);
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
