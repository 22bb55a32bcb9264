// The BMP reader: good pictures of each kind are read with their colour table and pixels where
// they lie; every field that could send a read outside the file is refused with its code.
#include "installer/wizard/BmpReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct BmpFields {
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t coloursUsed = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t tableEntries = 0;
    std::uint32_t pixelBytes = 24;
};

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

// A file of a 14-byte header, the info header, tableEntries colours (entry i = i, i, i) and
// pixelBytes pixel bytes counting up from 1.
std::vector<std::uint8_t> makeBmp(const BmpFields& f)
{
    const std::size_t tableAt = 14 + f.headerSize;
    const std::size_t bitsAt = tableAt + f.tableEntries * 4;
    std::vector<std::uint8_t> file(bitsAt + f.pixelBytes);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<std::uint32_t>(file.size()));
    put32(file, 10, static_cast<std::uint32_t>(bitsAt));
    put32(file, 14, f.headerSize);
    put32(file, 18, static_cast<std::uint32_t>(f.width));
    put32(file, 22, static_cast<std::uint32_t>(f.height));
    put16(file, 26, 1);
    put16(file, 28, f.bitCount);
    put32(file, 30, f.compression);
    put32(file, 34, f.imageSize);
    put32(file, 46, f.coloursUsed);
    for (std::uint32_t i = 0; i < f.tableEntries; ++i)
        for (int c = 0; c < 3; ++c)
            file[tableAt + i * 4 + c] = static_cast<std::uint8_t>(i);
    for (std::uint32_t i = 0; i < f.pixelBytes; ++i)
        file[bitsAt + i] = static_cast<std::uint8_t>(i + 1);
    return file;
}

std::int32_t read(const std::vector<std::uint8_t>& file, BmpImage& image)
{
    return readBmp(file.data(), file.size(), image);
}

TEST(BmpReader, GoodPicturesAreReadWithTheirTableAndPixels)
{
    struct Case {
        const char* what;
        BmpFields fields;
        std::uint32_t colours;
    };
    BmpFields rgb24;
    BmpFields pal8;
    pal8.bitCount = 8;
    pal8.tableEntries = 256;
    pal8.pixelBytes = 8; // rows of 4 bytes
    BmpFields used2;
    used2.bitCount = 8;
    used2.coloursUsed = 2;
    used2.tableEntries = 2;
    used2.pixelBytes = 8;
    BmpFields mono;
    mono.bitCount = 1;
    mono.tableEntries = 2;
    mono.pixelBytes = 8;
    BmpFields topDown;
    topDown.height = -2;
    BmpFields v5;
    v5.headerSize = 124;
    BmpFields fields32;
    fields32.bitCount = 32;
    fields32.compression = 3;
    fields32.tableEntries = 3;
    fields32.pixelBytes = 32;
    BmpFields rle8;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.tableEntries = 256;
    rle8.imageSize = 6;
    rle8.pixelBytes = 6;
    const Case cases[] = {
        {"24-bit", rgb24, 0},           {"8-bit full table", pal8, 256}, {"8-bit, 2 used", used2, 2},
        {"1-bit", mono, 2},             {"top-down", topDown, 0},        {"124-byte header", v5, 0},
        {"bit fields", fields32, 0},    {"RLE8", rle8, 256},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> file = makeBmp(c.fields);
        BmpImage image;
        ASSERT_EQ(read(file, image), kBmpRead) << c.what;
        EXPECT_EQ(image.block.size(), file.size() - 14) << c.what;
        EXPECT_EQ(image.colourCount, c.colours) << c.what;
        EXPECT_EQ(image.colourTableOffset, c.fields.headerSize) << c.what;
        EXPECT_EQ(image.bitsOffset, c.fields.headerSize + c.fields.tableEntries * 4) << c.what;
        EXPECT_EQ(image.block[image.bitsOffset], 1) << c.what << ": the first pixel byte";
        EXPECT_EQ(image.rows(), 2u) << c.what;
    }
}

TEST(BmpReader, FilesThatLieAboutTheirSizesAreRefused)
{
    struct Case {
        const char* what;
        BmpFields fields;
        std::int32_t code;
    };
    BmpFields shortPixels;
    shortPixels.pixelBytes = 23;
    BmpFields hugeWidth;
    hugeWidth.width = 0x7FFFFFFF;
    BmpFields hugeHeight;
    hugeHeight.height = INT32_MIN;
    BmpFields noWidth;
    noWidth.width = 0;
    BmpFields negativeWidth;
    negativeWidth.width = -4;
    BmpFields oddBits;
    oddBits.bitCount = 7;
    BmpFields smallHeader;
    smallHeader.headerSize = 12;
    smallHeader.pixelBytes = 64;
    BmpFields manyColours;
    manyColours.coloursUsed = 0xFFFFFFFF;
    BmpFields moreColoursThanBits;
    moreColoursThanBits.bitCount = 1;
    moreColoursThanBits.coloursUsed = 3;
    moreColoursThanBits.tableEntries = 3;
    moreColoursThanBits.pixelBytes = 8;
    BmpFields tableMissing;
    tableMissing.bitCount = 8;
    tableMissing.pixelBytes = 8; // 256 entries are implied but absent
    BmpFields rleBeyondFile;
    rleBeyondFile.bitCount = 8;
    rleBeyondFile.compression = 1;
    rleBeyondFile.tableEntries = 256;
    rleBeyondFile.imageSize = 0x10000;
    rleBeyondFile.pixelBytes = 6;
    BmpFields jpegInside;
    jpegInside.compression = 4;
    const Case cases[] = {
        {"pixels one byte short", shortPixels, kBmpShortPixels},
        {"width of 2^31 - 1", hugeWidth, kBmpShortPixels},
        {"height of -2^31", hugeHeight, kBmpShortPixels},
        {"no width", noWidth, kBmpBadGeometry},
        {"negative width", negativeWidth, kBmpBadGeometry},
        {"7 bits a pixel", oddBits, kBmpBadGeometry},
        {"12-byte header", smallHeader, kBmpBadInfoHeader},
        {"colour count 2^32 - 1", manyColours, kBmpBadColourTable},
        {"3 colours at 1 bit", moreColoursThanBits, kBmpBadColourTable},
        {"implied table missing", tableMissing, kBmpBadColourTable},
        {"RLE size beyond the file", rleBeyondFile, kBmpShortPixels},
        {"JPEG compression", jpegInside, kBmpBadGeometry},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = makeBmp(c.fields);
        BmpImage image;
        EXPECT_EQ(read(file, image), c.code) << c.what;
        EXPECT_TRUE(image.block.empty()) << c.what;
    }
    // A header size that runs past the end of the file.
    std::vector<std::uint8_t> file = makeBmp(BmpFields{});
    put32(file, 14, static_cast<std::uint32_t>(file.size()));
    BmpImage image;
    EXPECT_EQ(read(file, image), kBmpBadInfoHeader);
}

TEST(BmpReader, FilesOfAFewBytesGiveTheirCodes)
{
    const std::vector<std::uint8_t> whole = makeBmp(BmpFields{});
    struct Case {
        std::size_t length;
        std::int32_t code;
    };
    const Case cases[] = {{0, kBmpShortFileHeader}, {1, kBmpShortFileHeader}, {13, kBmpShortFileHeader},
                          {14, kBmpShortBlock},     {53, kBmpShortBlock},      {54, kBmpShortPixels}};
    for (const Case& c : cases) {
        BmpImage image;
        EXPECT_EQ(readBmp(whole.data(), c.length, image), c.code) << c.length << " bytes";
    }
    std::vector<std::uint8_t> notBmp = whole;
    notBmp[1] = 'A';
    BmpImage image;
    EXPECT_EQ(read(notBmp, image), kBmpNoSignature);
}

TEST(BmpReader, KindAndSizeComeFromTheFirstBytes)
{
    const std::uint8_t jpeg[] = {0xFF, 0xD8, 0xFF};
    const std::uint8_t bmp[] = {'B', 'M'};
    const std::uint8_t other[] = {'M', 'B'};
    EXPECT_EQ(imageKindOf(jpeg, sizeof jpeg), 2);
    EXPECT_EQ(imageKindOf(bmp, sizeof bmp), 1);
    EXPECT_EQ(imageKindOf(other, sizeof other), 0);
    EXPECT_EQ(imageKindOf(bmp, 1), 0);

    BmpFields f;
    f.width = 640;
    f.height = -480;
    f.pixelBytes = 0;
    const std::vector<std::uint8_t> file = makeBmp(f);
    std::int32_t width = 0, height = 0;
    ASSERT_TRUE(readBmpSize(file.data(), file.size(), width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, -480);
    EXPECT_FALSE(readBmpSize(file.data(), 53, width, height));
}

} // namespace
