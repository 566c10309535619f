#pragma once
// The directory picture as the shell handlers draw it, without Windows: a C64 file's bytes to
// its directory's screen, and the picture's rows as 32-bit pixels.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "c64/disk_image.h"
#include "picture/directory_picture.h"

namespace floppex::shellext {

// The directory screen of the file these bytes hold, listed under name (which tells its type);
// nothing, with the reader's reason in error, when the file is refused.
std::optional<std::vector<picture::ScreenRow>> DirectoryScreenOf(std::span<const uint8_t> bytes, const std::wstring& name,
                                                                 std::string& error);

// The same of a disk image of size bytes, read through read: only the blocks its listing needs.
std::optional<std::vector<picture::ScreenRow>> DiskScreenOf(uint64_t size, const ByteReader& read,
                                                            const std::wstring& name, std::string& error);

// Picture rows from `first` on, in the upper-case set, pixels.size() / width rows of width pixels,
// as opaque 0xAARRGGBB words; what lies beyond the picture is the border's colour.
void ArgbRows(const std::vector<picture::ScreenRow>& screen, const picture::PictureSize& size, int first, int width,
              std::span<uint32_t> pixels);

}  // namespace floppex::shellext
