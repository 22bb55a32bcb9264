#include "installer/wizard/BmpReader.h"

namespace {

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitfields = 3;
// Three colour masks follow a 40-byte header of a bit-field picture.
constexpr std::uint32_t kBitfieldMasks = 3;

std::uint16_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool hasSignature(const std::uint8_t* data)
{
    return data[0] == 'B' && data[1] == 'M';
}

BmpInfo parseInfo(const std::uint8_t* p)
{
    BmpInfo info;
    info.headerSize = le32(p);
    info.width = static_cast<std::int32_t>(le32(p + 4));
    info.height = static_cast<std::int32_t>(le32(p + 8));
    info.planes = le16(p + 12);
    info.bitCount = le16(p + 14);
    info.compression = le32(p + 16);
    info.imageSize = le32(p + 20);
    info.coloursUsed = le32(p + 32);
    return info;
}

bool validBitCount(std::uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool validGeometry(const BmpInfo& info)
{
    if (info.width <= 0 || info.height == 0 || info.planes != 1 || !validBitCount(info.bitCount))
        return false;
    switch (info.compression) {
    case kCompressionRgb:
        return true;
    case kCompressionRle8:
        return info.bitCount == 8 && info.height > 0;
    case kCompressionRle4:
        return info.bitCount == 4 && info.height > 0;
    case kCompressionBitfields:
        return info.bitCount == 16 || info.bitCount == 32;
    default:
        return false;
    }
}

// The colour table's entries: the used-colours count, or every colour a bit count up to 8 can
// name; a bit-field picture with a 40-byte header keeps its masks where the table would be.
std::uint64_t colourEntries(const BmpInfo& info)
{
    std::uint64_t entries = info.coloursUsed;
    if (entries == 0 && info.bitCount <= 8)
        entries = std::uint64_t{1} << info.bitCount;
    if (info.compression == kCompressionBitfields && info.headerSize == kBmpInfoHeaderSize)
        entries += kBitfieldMasks;
    return entries;
}

std::uint64_t pixelBytesNeeded(const BmpInfo& info)
{
    if (info.compression == kCompressionRle8 || info.compression == kCompressionRle4)
        return info.imageSize;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
    const std::uint64_t rows = info.height < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(info.height))
                                               : static_cast<std::uint64_t>(info.height);
    return rowBytes * rows;
}

} // namespace

std::uint32_t BmpImage::rows() const
{
    const std::int64_t height = info.height;
    return static_cast<std::uint32_t>(height < 0 ? -height : height);
}

std::int32_t readBmp(const std::uint8_t* data, std::size_t size, BmpImage& image)
{
    image = BmpImage{};
    if (size < kBmpFileHeaderSize)
        return kBmpShortFileHeader;
    if (!hasSignature(data))
        return kBmpNoSignature;
    const std::size_t blockSize = size - kBmpFileHeaderSize;
    if (blockSize < kBmpInfoHeaderSize)
        return kBmpShortBlock;
    const std::uint8_t* block = data + kBmpFileHeaderSize;
    const BmpInfo info = parseInfo(block);
    if (info.headerSize < kBmpInfoHeaderSize || info.headerSize > blockSize)
        return kBmpBadInfoHeader;
    if (!validGeometry(info))
        return kBmpBadGeometry;
    const std::uint64_t entries = colourEntries(info);
    if ((info.bitCount <= 8 && info.coloursUsed > (std::uint32_t{1} << info.bitCount)) ||
        entries * 4 > blockSize - info.headerSize)
        return kBmpBadColourTable;
    // The colour table follows the header whatever its size; the pixels follow the table.
    const std::size_t bitsOffset = info.headerSize + static_cast<std::size_t>(entries) * 4;
    const std::uint64_t needed = pixelBytesNeeded(info);
    if (needed == 0 || needed > blockSize - bitsOffset)
        return kBmpShortPixels;
    image.block.assign(block, block + blockSize);
    image.info = info;
    image.colourCount = static_cast<std::uint32_t>(info.compression == kCompressionBitfields &&
                                                           info.headerSize == kBmpInfoHeaderSize
                                                       ? entries - kBitfieldMasks
                                                       : entries);
    image.colourTableOffset = info.headerSize;
    image.bitsOffset = bitsOffset;
    return kBmpRead;
}

std::int32_t imageKindOf(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    if (data[0] == 0xFF && data[1] == 0xD8)
        return 2;
    return hasSignature(data) ? 1 : 0;
}

bool readBmpSize(const std::uint8_t* data, std::size_t size, std::int32_t& width, std::int32_t& height)
{
    if (size < kBmpFileHeaderSize + kBmpInfoHeaderSize || !hasSignature(data))
        return false;
    const BmpInfo info = parseInfo(data + kBmpFileHeaderSize);
    width = info.width;
    height = info.height;
    return true;
}
