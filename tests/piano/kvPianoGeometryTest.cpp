#include "piano/kvPianoGeometry.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TKVPianoGeometry Fixed18()
{
    TKVPianoGeometry g;
    g.KeyWidth = 18;
    g.Fixed = true;
    g.PaintWidth = g.ControlWidth();
    return g;
}

TKVPianoGeometry Free22()
{
    TKVPianoGeometry g;
    g.PaintWidth = g.ControlWidth();
    return g;
}

TEST(PianoGeometry, ControlSizes)
{
    EXPECT_EQ(Fixed18().ControlWidth(), 950);
    EXPECT_EQ(Fixed18().ControlHeight(), 127);
    EXPECT_EQ(Free22().ControlWidth(), 938);
    TKVPianoGeometry g = Free22();
    g.Group = 3;
    g.KeyHeight = 80;
    EXPECT_EQ(g.ControlWidth(), 7 * 22 * 3 + 14);
    EXPECT_EQ(g.ControlHeight(), 107);
}

TEST(PianoGeometry, AreasAndKeyRectangles)
{
    const TKVPianoGeometry fixed = Fixed18();
    EXPECT_EQ(fixed.StripRect(), Rect(7, 0, 943, 22));
    EXPECT_EQ(fixed.KeysArea(), Rect(7, 21, 943, 122));
    EXPECT_EQ(fixed.KeyRect(21), Rect(7, 20, 25, 121));    // A0 at the left edge
    EXPECT_EQ(fixed.KeyRect(108), Rect(925, 20, 943, 121)); // C8 at the right edge
    EXPECT_EQ(fixed.KeyRect(22), Rect(7 + 9 + 3, 20, 7 + 18 + 9 - 3, 87));

    const TKVPianoGeometry free = Free22();
    EXPECT_EQ(free.KeyRect(1), Rect(21, 20, 37, 87)); // C#: 7 + 11 + 3 to 7 + 22 + 11 - 3
    EXPECT_EQ(free.KeyRect(0), Rect(7, 20, 29, 121));
    EXPECT_EQ(free.KeyRect(71), Rect(7 + 41 * 22, 20, 7 + 42 * 22, 121));
}

TEST(PianoGeometry, KeyAtPoint)
{
    struct Case { bool fixed; std::int32_t x, y, key; };
    const Case cases[] = {
        {false, 25, 100, 0},   // below the black keys: the white key of the column
        {false, 25, 50, 1},    // the black key C#
        {false, 20, 50, 0},    // left of C#'s edge
        {false, 21, 50, 1},
        {false, 36, 86, 1},    // C#'s last pixel
        {false, 36, 87, 2},    // just below it: D's column
        {false, 7 + 2 * 22 + 21, 40, 4}, // E: its right neighbour F is white
        {false, 6, 50, -1},    // left of the keys area
        {false, 930, 50, 71},  // last key
        {false, 930, 121, 71}, // last row of the area
        {false, 930, 122, -1},
        {false, 931, 50, -1},  // right of the keys area
        {false, 40, 20, -1},   // the strip's bottom row is outside
        {false, 40, 21, 2},
        {true, 10, 30, 21},    // A0's column top: the G#0 that nothing draws does not play
        {true, 30, 30, 22},    // A#0
        {true, 940, 30, 108},  // C8's column top: no C#8
        {true, 7 + 23 * 18 + 9, 100, 60}, // middle C
    };
    for (const Case& c : cases) {
        const TKVPianoGeometry g = c.fixed ? Fixed18() : Free22();
        EXPECT_EQ(g.KeyAtPoint(c.x, c.y), c.key) << (c.fixed ? "fixed " : "free ") << c.x << "," << c.y;
    }
}

TEST(PianoGeometry, KeysAreaFollowsTheKeyHeight)
{
    TKVPianoGeometry g = Free22();
    g.KeyHeight = 60;
    EXPECT_EQ(g.KeysArea(), Rect(7, 21, 931, 82));
    EXPECT_EQ(g.KeyAtPoint(25, 81), 0);
    EXPECT_EQ(g.KeyAtPoint(25, 82), -1); // below the keys: no key
}

TEST(PianoGeometry, WhiteIndicesAndBlackKeys)
{
    EXPECT_EQ(TKVPianoGeometry::WhiteIndex(60), 35);
    EXPECT_EQ(TKVPianoGeometry::WhiteIndex(61), 35);
    EXPECT_EQ(TKVPianoGeometry::WhiteIndex(71), 41);
    for (std::int32_t key : {1, 3, 6, 8, 10, 61, 106}) EXPECT_TRUE(TKVPianoGeometry::IsBlackKey(key)) << key;
    for (std::int32_t key : {0, 2, 4, 5, 7, 9, 11, 60, 108}) EXPECT_FALSE(TKVPianoGeometry::IsBlackKey(key)) << key;
}

} // namespace
} // namespace kv
