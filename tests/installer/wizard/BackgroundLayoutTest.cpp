// The background's arithmetic: gradient rows at and around the split, the page image's anchoring
// and tiles, and the slideshow image's place.
#include "installer/wizard/BackgroundLayout.h"

#include "installer/state/InstallerState.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint32_t kTop = 0x00FF0000;    // blue
constexpr std::uint32_t kSplit = 0x0000FF00;  // green
constexpr std::uint32_t kBottom = 0x000010F0; // red with some green

TEST(BackgroundGradient, HalfSplitOf600RowsMeetsItsColoursExactly)
{
    const std::vector<std::uint32_t> rows = gradientRows(kTop, kSplit, kBottom, 50, 600);
    ASSERT_EQ(rows.size(), 600u);
    EXPECT_EQ(rows[0], kTop);
    EXPECT_EQ(rows[300], kSplit);
    EXPECT_EQ(rows[599], kBottom);
    // Row 299 is one step short of the split colour: blue 255 → 0 over 300 steps.
    EXPECT_EQ(rows[299], 0x0001FE00u) << "blue 1, green 254";
    // Each component moves monotonically within a band and never wraps.
    for (std::size_t row = 1; row < 300; ++row) {
        EXPECT_LE((rows[row] >> 16) & 0xFF, (rows[row - 1] >> 16) & 0xFF) << row;
        EXPECT_GE((rows[row] >> 8) & 0xFF, (rows[row - 1] >> 8) & 0xFF) << row;
    }
    for (std::size_t row = 301; row < 600; ++row)
        EXPECT_GE(rows[row] & 0xFF, rows[row - 1] & 0xFF) << row;
}

TEST(BackgroundGradient, EverySplitPaintsEveryRowWithoutDividingByZero)
{
    struct Case {
        std::uint32_t percent;
        std::uint32_t height;
        std::uint32_t firstRow;
        std::uint32_t lastRow;
    };
    const Case cases[] = {
        {0, 600, kSplit, kBottom},      // no upper band
        {100, 600, kTop, 0},            // one band, top toward split
        {150, 600, kTop, 0},            // as 100 %
        {0xFFFFFFFF, 600, kTop, 0},     // the product does not wrap around
        {99, 100, kTop, kSplit},        // lower band of one row: the split colour
        {50, 1, kSplit, kSplit},        // a single row is the lower band's first
        {50, 2, kTop, kSplit},          // lower band of one row again
    };
    for (const Case& c : cases) {
        const std::vector<std::uint32_t> rows = gradientRows(kTop, kSplit, kBottom, c.percent, c.height);
        ASSERT_EQ(rows.size(), c.height) << c.percent << " %";
        EXPECT_EQ(rows.front(), c.firstRow) << c.percent << " %";
        if (c.lastRow != 0) {
            EXPECT_EQ(rows.back(), c.lastRow) << c.percent << " % of " << c.height;
        }
    }
    // With the split at the bottom, the last row is one step short of the split colour.
    const std::vector<std::uint32_t> full = gradientRows(kTop, kSplit, kBottom, 100, 255);
    EXPECT_EQ(full.back(), 0x0000FF00u - 0x00000100u + 0x00010000u) << "blue 1, green 254";
    EXPECT_EQ(gradientRows(kTop, kSplit, kBottom, 150, 255), full);
    EXPECT_TRUE(gradientRows(kTop, kSplit, kBottom, 50, 0).empty());
}

TEST(BackgroundGradient, RisingAndFallingComponentsReachTheirEndsOverOddSteps)
{
    // 7 rows for the lower band: 6 steps from 0x10 to 0xF3 (rising, 227 = 37 * 6 + 5) and back.
    const std::vector<std::uint32_t> up = gradientRows(0, 0x10, 0xF3, 0, 7);
    EXPECT_EQ(up.front(), 0x10u);
    EXPECT_EQ(up.back(), 0xF3u);
    const std::vector<std::uint32_t> down = gradientRows(0, 0xF3, 0x10, 0, 7);
    EXPECT_EQ(down.back(), 0x10u);
}

TEST(PageImagePlace, AnchoringStretchingAndTiling)
{
    struct Case {
        const char* what;
        std::uint32_t flags;
        std::uint32_t x, y;
        PixelRect place;
    };
    const Case cases[] = {
        {"placed", 0, 30, 40, {30, 40, 100, 50}},
        {"from the right", 0, 0x80000005, 40, {695, 40, 100, 50}},
        {"from the bottom", 0, 30, 0x80000000, {30, 550, 100, 50}},
        {"stretched", kBackgroundStretchImage, 30, 40, {0, 0, 800, 600}},
        {"tiled", kBackgroundTileImage, 0x80000005, 40, {0, 0, 100, 50}},
        {"stretch wins over tile", kBackgroundStretchImage | kBackgroundTileImage, 1, 1, {0, 0, 800, 600}},
        {"far beyond the right", 0, 0xFFFFFFFF, 0, {800 - 100 - 0x7FFFFFFF, 0, 100, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pageImagePlace(c.flags, c.x, c.y, 800, 600, 100, 50), c.place) << c.what;
}

TEST(PageImagePlace, TilesCoverTheBackgroundRowByRowAfterTheFirst)
{
    const std::vector<PixelRect> tiles = pageImageTiles(250, 120, 100, 50);
    // 3 columns × 3 rows, without the first.
    ASSERT_EQ(tiles.size(), 8u);
    EXPECT_EQ(tiles[0], (PixelRect{100, 0, 100, 50}));
    EXPECT_EQ(tiles[1], (PixelRect{200, 0, 100, 50}));
    EXPECT_EQ(tiles[2], (PixelRect{0, 50, 100, 50}));
    EXPECT_EQ(tiles[7], (PixelRect{200, 100, 100, 50}));
    EXPECT_TRUE(pageImageTiles(250, 120, 0, 50).empty());
    EXPECT_TRUE(pageImageTiles(100, 50, 100, 50).empty());
}

TEST(SlideshowPlace, AreaCornersAlignmentsAndOffset)
{
    struct Case {
        std::int32_t area, alignment;
        PixelRect place;
    };
    // Background 800 × 600, largest image 200 × 100, the image 50 × 20, offset (7, 3).
    const Case cases[] = {
        {0, 0, {300 + 75 + 7, 250 + 40 + 3, 50, 20}},
        {1, 1, {7, 3, 50, 20}},
        {2, 2, {600 + 150 + 7, 3, 50, 20}},
        {3, 3, {7, 500 + 80 + 3, 50, 20}},
        {4, 4, {600 + 150 + 7, 500 + 80 + 3, 50, 20}},
        {-1, 1, {600 + 7, 500 + 3, 50, 20}},
        {1, 0, {75 + 7, 40 + 3, 50, 20}},
    };
    for (const Case& c : cases) {
        SlideshowLayout layout{c.area, c.alignment, 7, 3, 200, 100};
        EXPECT_EQ(slideshowImagePlace(layout, 800, 600, 50, 20), c.place) << c.area << "/" << c.alignment;
    }
    // Centred in both, the largest size is never measured: the image is centred on the background.
    SlideshowLayout centred;
    EXPECT_EQ(slideshowImagePlace(centred, 800, 600, 51, 21), (PixelRect{400 - 25, 300 - 10, 51, 21}));
}

} // namespace
