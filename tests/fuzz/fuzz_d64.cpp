// Disk image reader on arbitrary bytes: any size goes to Load; inputs shorter than a disk are
// also laid over a formatted empty disk so that the directory code is reached.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <vector>

#include "c64/d64_image.h"
#include "c64/listing_text.h"

namespace {

void TouchEverything(const floppex::D64Image& image) {
    volatile size_t sink = image.HeaderText1().size() + image.HeaderText2().size() +
                           image.DiskName().Ascii().size() + image.DiskId().Unicode().size() +
                           static_cast<size_t>(image.BlocksFree() + image.Tracks());
    for (size_t n = 1; n <= image.Entries().Count(); ++n) {
        const auto& e = image.Entries().Item(n);
        sink = sink + e.Name().Ascii().size() + e.Name().Unicode().size() + e.Blocks().size() + e.FileType().size();
    }
    sink = sink + floppex::C1541Listing(image).size();
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    floppex::D64Image image;
    if (image.Load({data, size})) TouchEverything(image);

    // The same bytes over the directory track of a 35-track disk (with error bytes when the
    // input's first byte is odd), where they become the BAM and directory sectors. The disks are
    // kept between runs and the track cleared again afterwards.
    static std::vector<uint8_t> plain(174848, 0), withErrors = [] {
        std::vector<uint8_t> d(175531, 0);
        std::fill(d.begin() + 174848, d.end(), uint8_t{1});
        return d;
    }();
    const bool errors = size > 0 && (data[0] & 1);
    std::vector<uint8_t>& disk = errors ? withErrors : plain;
    const size_t track18 = 357 * 256, track18Size = 19 * 256;
    std::copy(data, data + std::min(size, track18Size), disk.begin() + static_cast<std::ptrdiff_t>(track18));
    const size_t errorAt = 174848 + 357 + (size > 1 ? data[1] % 19 : 0);
    if (errors && size > 1) disk[errorAt] = data[1] >> 4;
    if (image.Load(disk)) TouchEverything(image);
    std::fill_n(disk.begin() + static_cast<std::ptrdiff_t>(track18), track18Size, uint8_t{0});
    if (errors) disk[errorAt] = 1;
    return 0;
}
