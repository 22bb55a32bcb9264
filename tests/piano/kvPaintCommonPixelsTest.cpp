#include "piano/kvPaintCommonPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kv {
namespace {

TEST(PaintCommonPixels, ColourConversions)
{
    EXPECT_EQ(ColorToPixel(RGBColor(0x12, 0x34, 0x56)), 0x123456u);
    EXPECT_EQ(InvertColor(RGBColor(0, 255, 10)), RGBColor(255, 0, 245));
    std::uint8_t r = 0, g = 0, b = 0;
    SplitColor(0x7DBDFF, r, g, b);
    EXPECT_EQ(r, 0xFF);
    EXPECT_EQ(g, 0xBD);
    EXPECT_EQ(b, 0x7D);
}

// A 3 x 2 image of 24-bit pixels, each row padded to 12 bytes.
struct Image24 {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(24, 0xAA);
    TScanLines Lines() { return {bytes.data(), 3, 2, 12}; }
};

TEST(PaintCommonPixels, BlendMovesEveryPixelTowardTheColourAndLeavesThePadding)
{
    struct Case { std::uint8_t start; TColor color; std::uint8_t percent; std::uint8_t expected; };
    const Case cases[] = {{255, clBlack, 50, 127}, {255, clBlack, 0, 255}, {0, clWhite, 100, 255},
                          {100, clWhite, 10, 115}, {0, clWhite, 200, 255}}; // above 100 counts as 100
    for (const Case& c : cases) {
        Image24 image;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 9; ++x) image.bytes[y * 12 + x] = c.start;
        BlendScanLines24(image.Lines(), c.color, c.percent);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 9; ++x) EXPECT_EQ(image.bytes[y * 12 + x], c.expected) << int(c.percent);
            for (int x = 9; x < 12; ++x) EXPECT_EQ(image.bytes[y * 12 + x], 0xAA) << "padding";
        }
    }
}

TEST(PaintCommonPixels, BlendTakesEachChannelOfTheColour)
{
    Image24 image;
    std::fill(image.bytes.begin(), image.bytes.end(), 0);
    BlendScanLines24(image.Lines(), RGBColor(200, 100, 50), 50);
    EXPECT_EQ(image.bytes[0], 25);  // blue
    EXPECT_EQ(image.bytes[1], 50);  // green
    EXPECT_EQ(image.bytes[2], 100); // red
}

TEST(PaintCommonPixels, TintPaintsTheMaskedPixelsAtTheirOffsetAndStaysInsideBothImages)
{
    std::vector<std::uint32_t> source(4 * 4, 0), dest(5 * 5, 0x111111);
    source[1 * 4 + 1] = 0xFFFFFF;
    source[2 * 4 + 3] = 0x010101;
    const TScanLines from{reinterpret_cast<std::uint8_t*>(source.data()), 4, 4, 16};
    const TScanLines to{reinterpret_cast<std::uint8_t*>(dest.data()), 5, 5, 20};

    TintMaskScanLines32(to, Rect(2, 0, 6, 4), clRed, from, Rect(0, 0, 4, 4), 0);
    EXPECT_EQ(dest[1 * 5 + 3], 0xFF0000u);
    // (3, 2) lands on column 5, outside the destination: nothing is written anywhere.
    for (int i = 0; i < 25; ++i) {
        if (i != 1 * 5 + 3) {
            EXPECT_EQ(dest[i], 0x111111u) << i;
        }
    }

    // Rectangles reaching past both images are cut to them (the sanitizer watches the reads).
    TintMaskScanLines32(to, Rect(-3, -3, 10, 10), clBlue, from, Rect(-1, -1, 9, 9), 0);
    // The shift is (-2, -2): source (1, 1) falls outside, source (3, 2) lands on (1, 0).
    EXPECT_EQ(dest[0 * 5 + 1], 0x0000FFu);
    EXPECT_EQ(std::count(dest.begin(), dest.end(), 0x0000FFu), 1);
}

} // namespace
} // namespace kv
