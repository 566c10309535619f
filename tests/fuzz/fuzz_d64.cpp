// Disk image reader on arbitrary bytes: any size goes to Load; inputs shorter than a disk are
// also laid over a formatted empty disk so that the directory code is reached.
#include <cstddef>
#include <cstdint>
#include <numeric>
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
    // input's first byte is odd), where they become the BAM and directory sectors.
    const bool errors = size > 0 && (data[0] & 1);
    std::vector<uint8_t> disk(errors ? 175531 : 174848, 0);
    const size_t track18 = 357 * 256;
    const size_t n = std::min(size, disk.size() - track18);
    std::copy(data, data + n, disk.begin() + static_cast<std::ptrdiff_t>(track18));
    if (errors) std::fill(disk.begin() + 174848, disk.end(), uint8_t{1});
    if (errors && size > 1) disk[174848 + 357 + data[1] % 19] = data[1] >> 4;
    if (image.Load(disk)) TouchEverything(image);
    return 0;
}
