#include "shellext/directory_pixels_logic.h"

#include <algorithm>

#include "c64/file_type.h"
#include "listing/c64_listing.h"

namespace floppex::shellext {

namespace {

constexpr uint32_t Argb(picture::Rgb colour) {
    return 0xFF000000u | uint32_t{colour.r} << 16 | uint32_t{colour.g} << 8 | colour.b;
}

std::optional<std::vector<picture::ScreenRow>> ScreenOf(const C64File& file, std::string& error) {
    if (!file.listing) {
        error = file.error;
        return std::nullopt;
    }
    return picture::DirectoryScreen(*file.listing);
}

}  // namespace

std::optional<std::vector<picture::ScreenRow>> DirectoryScreenOf(std::span<const uint8_t> bytes, const std::wstring& name,
                                                                 std::string& error) {
    return ScreenOf(OpenC64File(name, bytes, FileTypeOf(name)), error);
}

std::optional<std::vector<picture::ScreenRow>> DiskScreenOf(uint64_t size, const ByteReader& read,
                                                            const std::wstring& name, std::string& error) {
    return ScreenOf(OpenC64Disk(name, size, read), error);
}

void ArgbRows(const std::vector<picture::ScreenRow>& screen, const picture::PictureSize& size, int first, int width,
              std::span<uint32_t> pixels) {
    if (width <= 0) return;
    std::vector<uint8_t> row(static_cast<size_t>(width));
    constexpr uint32_t kColours[2] = {Argb(picture::kBackground), Argb(picture::kInk)};
    for (size_t y = 0; (y + 1) * row.size() <= pixels.size(); ++y) {
        picture::PictureRow(screen, petscii::CharSet::UpperCase, size, first + static_cast<int>(y), row);
        std::transform(row.begin(), row.end(), pixels.begin() + static_cast<std::ptrdiff_t>(y * row.size()),
                       [&](uint8_t dot) { return kColours[0] ^ ((0u - dot) & (kColours[0] ^ kColours[1])); });  // no look-up: vectorised
    }
}

}  // namespace floppex::shellext
