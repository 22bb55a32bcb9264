// An arbitrary file handed to the BMP reader: either an error code with nothing kept, or a
// picture whose colour table and pixels lie wholly inside the bytes read.
#include "installer/wizard/BmpReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BmpImage image;
    const std::int32_t result = readBmp(data, size, image);
    if (result != kBmpRead) {
        if (result >= 0 || !image.block.empty())
            __builtin_trap();
        return 0;
    }
    if (image.block.size() != size - kBmpFileHeaderSize || image.bitsOffset >= image.block.size() ||
        image.colourTableOffset + std::uint64_t{image.colourCount} * 4 > image.bitsOffset)
        __builtin_trap();
    // Touch the first and last pixel byte.
    volatile std::uint8_t sink = image.block[image.bitsOffset];
    sink = image.block.back();
    (void)sink;
    std::int32_t width = 0, height = 0;
    if (!readBmpSize(data, size, width, height) || width != image.info.width || height != image.info.height)
        __builtin_trap();
    return 0;
}
