#include "piano/kvPaintCommonGeometry.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>

namespace kv {
namespace {

TEST(PaintCommonGeometry, RangesPutTheirBoundsInOrder)
{
    EXPECT_EQ(ClampValue(5, 10, 0), 5);
    EXPECT_EQ(ClampValue(-3, 10, 0), 0);
    EXPECT_EQ(ClampValue(12, 10, 0), 10);
    EXPECT_TRUE(ValueInRange(10, 10, 0));
    EXPECT_TRUE(ValueInRange(0, 10, 0));
    EXPECT_FALSE(ValueInRange(11, 0, 10));
}

TEST(PaintCommonGeometry, DivModTruncatesAndKeepsTheDividendsSign)
{
    struct Case { std::int32_t dividend, divisor, quotient, remainder; };
    const Case cases[] = {{7, 2, 3, 1}, {-7, 2, -3, -1}, {7, -2, -3, 1}, {-7, -2, 3, -1},
                          {0, 2, 0, 0},  {-1, 2, 0, -1}, {INT_MIN, -1, INT_MIN, 0}};
    for (const Case& c : cases) {
        std::int32_t q = 99, r = 99;
        DivMod(c.dividend, c.divisor, q, r);
        EXPECT_EQ(q, c.quotient) << c.dividend << " / " << c.divisor;
        EXPECT_EQ(r, c.remainder) << c.dividend << " / " << c.divisor;
    }
    std::int32_t q = 0, r = 0;
    EXPECT_THROW(DivMod(1, 0, q, r), EDivByZero);
}

TEST(PaintCommonGeometry, GrowRectGivesTheOddPixelToTheRightAndBottom)
{
    struct Case { std::int32_t dx, dy; TRect expected; };
    const Case cases[] = {
        {3, 0, {9, 20, 32, 40}},   // left -1, right +2
        {0, 3, {10, 19, 30, 42}},
        {4, 4, {8, 18, 32, 42}},
        {-3, 0, {11, 20, 28, 40}}, // q = -1, r = -1: left +1, right -2
        {-4, -2, {12, 21, 28, 39}},
    };
    for (const Case& c : cases) {
        TRect r{10, 20, 30, 40};
        EXPECT_TRUE(GrowRect(r, c.dx, c.dy));
        EXPECT_EQ(r, c.expected) << c.dx << "," << c.dy;
    }
}

TEST(PaintCommonGeometry, HalfHeightTruncatesTowardZero)
{
    EXPECT_EQ(RectHalfHeight(Rect(0, 0, 5, 7)), 3);
    EXPECT_EQ(RectHalfHeight(Rect(0, 7, 5, 0)), -3);
    EXPECT_EQ(PointDelta(Point(5, 2), Point(7, -1)), Point(-2, 3));
}

TEST(PaintCommonGeometry, CornersAndBands)
{
    const TRect clip{0, 0, 10, 10};
    EXPECT_TRUE(AnyCornerInRect({5, 5, 20, 20}, clip));
    EXPECT_FALSE(AnyCornerInRect({10, 0, 20, 10}, clip)); // touches only the excluded right edge
    EXPECT_TRUE(NoCornerInRect({-5, -5, 15, 15}, clip));  // covers it, but no corner lies inside
    EXPECT_EQ(InflatedRect(clip, -1, 2), Rect(1, -2, 9, 12));
    EXPECT_EQ(BandRect(Point(8, 12), Point(-3, 4), clip), Rect(0, 4, 8, 10));
}

TEST(PaintCommonGeometry, LineCoefficientsFollowTheMajorAxis)
{
    double k = 1, off = 1;
    std::uint8_t axis = 9;
    LineCoefficients(Point(2, 3), Point(2, 3), k, axis, off);
    EXPECT_EQ(axis, 0);
    EXPECT_EQ(k, 0);
    LineCoefficients(Point(0, 1), Point(4, 3), k, axis, off);
    EXPECT_EQ(axis, 1);
    EXPECT_DOUBLE_EQ(k, 0.5);
    EXPECT_DOUBLE_EQ(off, 1);
    LineCoefficients(Point(1, 0), Point(3, 4), k, axis, off);
    EXPECT_EQ(axis, 2);
    EXPECT_DOUBLE_EQ(k, 0.5);
    EXPECT_DOUBLE_EQ(off, 1);
}

TEST(PaintCommonGeometry, PointNearSegment)
{
    struct Case { TPoint p, a, b; std::int32_t tolerance; bool expected; };
    const Case cases[] = {
        {{5, 0}, {0, 0}, {10, 0}, 0, true},    // midpoint of a horizontal segment
        {{11, 0}, {0, 0}, {10, 0}, 0, false},  // one pixel beyond its end
        {{5, 1}, {0, 0}, {10, 0}, 0, false},
        {{5, 1}, {0, 0}, {10, 0}, 1, true},
        {{0, 5}, {0, 10}, {0, 0}, 0, true},    // vertical, reversed
        {{1, 1}, {1, 1}, {1, 1}, 5, false},    // a segment of one point
        {{1, 0}, {0, 0}, {4, 2}, 0, true},     // y' = Round(0.5) = 0 (half to even)
        {{3, 1}, {0, 0}, {4, 2}, 0, false},    // y' = Round(1.5) = 2
    };
    for (const Case& c : cases)
        EXPECT_EQ(PointNearSegment(c.p, c.a, c.b, c.tolerance), c.expected)
            << c.p.X << "," << c.p.Y << " on " << c.a.X << "," << c.a.Y << "-" << c.b.X << "," << c.b.Y;
}

} // namespace
} // namespace kv
