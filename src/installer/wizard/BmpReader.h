#pragma once
// Reading a BMP file held in memory. Every field that says where something lies or how large it
// is gets checked against the file's length before it is used, so a damaged or hostile file gives
// an error code, never a read outside the file.
#include <cstddef>
#include <cstdint>
#include <vector>

enum BmpReadCode : std::int32_t {
    kBmpRead = 1,
    kBmpShortFileHeader = -8,
    kBmpNoSignature = -9,
    kBmpNoBlock = -32,
    kBmpShortBlock = -33,
    kBmpNoPalette = -34,
    // The info header is shorter than 40 bytes or longer than the file holds.
    kBmpBadInfoHeader = -35,
    // The colour table does not fit in the file, or holds more entries than the bit count can use.
    kBmpBadColourTable = -36,
    // Width, height, planes, bit count or compression that no picture can have.
    kBmpBadGeometry = -37,
    // The pixel data is shorter than the picture needs.
    kBmpShortPixels = -38,
};

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kBmpInfoHeaderSize = 40;

struct BmpInfo {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
};

struct BmpImage {
    // The file after its 14-byte header: the info header, the colour table, then the pixels.
    std::vector<std::uint8_t> block;
    BmpInfo info;
    // Entries of the colour table (4 bytes each) and where it and the pixels start in block.
    std::uint32_t colourCount = 0;
    std::size_t colourTableOffset = 0;
    std::size_t bitsOffset = 0;
    // Rows of the picture (the height without its sign).
    std::uint32_t rows() const;
};

// kBmpRead with the picture in image, or a BmpReadCode.
std::int32_t readBmp(const std::uint8_t* data, std::size_t size, BmpImage& image);

// 2 for a JPEG (FF D8), 1 for a BMP ("BM"), 0 otherwise.
std::int32_t imageKindOf(const std::uint8_t* data, std::size_t size);

// The width and height of the 14 + 40 first bytes of a BMP file; false when they are not all
// there or the file does not begin with "BM".
bool readBmpSize(const std::uint8_t* data, std::size_t size, std::int32_t& width, std::int32_t& height);
