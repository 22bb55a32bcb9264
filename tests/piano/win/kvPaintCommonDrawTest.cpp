// The drawing routines rendered into bitmaps, checked pixel by pixel.
#include "piano/win/kvPaintCommon.h"

#include "piano/kvPaintCommonPixels.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

// A white 32-bit bitmap with a black pen and a white brush.
struct Sheet {
    TBitmap bmp;
    explicit Sheet(int w = 40, int h = 40)
    {
        bmp.SetPixelFormat(pf32bit);
        bmp.SetSize(w, h);
        bmp.Canvas().Brush().SetColor(clWhite);
        bmp.Canvas().FillRect({0, 0, w, h});
        bmp.Canvas().Pen().SetColor(clBlack);
    }
    std::uint32_t Pixel(int x, int y)
    {
        return reinterpret_cast<const std::uint32_t*>(bmp.ScanLine(y))[x] & 0xFFFFFF;
    }
    bool Black(int x, int y) { return Pixel(x, y) == 0; }
};

TEST(PaintCommonDraw, FrameRectExCentresTheOutlineOnTheEdgesForEveryPenWidth)
{
    // Wider pens move the outline out by (width - 1) div 2; it is black Reach pixels on both
    // sides of that line and white Clear pixels away from it.
    struct Case { int width, out, reach, clear; };
    for (const Case& c : {Case{1, 0, 0, 1}, Case{2, 0, 0, 2}, Case{3, 1, 1, 2}}) {
        Sheet sheet;
        sheet.bmp.Canvas().Pen().SetWidth(7);
        FrameRectEx(sheet.bmp.Canvas(), {10, 10, 30, 30}, 0, 0, 0, 0, c.width);
        EXPECT_EQ(sheet.bmp.Canvas().Pen().Width(), 7) << "pen width restored";
        const int low = 10 - c.out, high = 30 + c.out;
        for (int d = -c.reach; d <= c.reach; ++d) {
            EXPECT_TRUE(sheet.Black(20, low + d)) << c.width << " top " << d;
            EXPECT_TRUE(sheet.Black(high + d, 20)) << c.width << " right " << d;
            EXPECT_TRUE(sheet.Black(20, high + d)) << c.width << " bottom " << d;
            EXPECT_TRUE(sheet.Black(low + d, 20)) << c.width << " left " << d;
        }
        for (int side : {-1, 1}) {
            EXPECT_FALSE(sheet.Black(low + side * c.clear, 20)) << c.width;
            EXPECT_FALSE(sheet.Black(high + side * c.clear, 20)) << c.width;
            EXPECT_FALSE(sheet.Black(20, low + side * c.clear)) << c.width;
            EXPECT_FALSE(sheet.Black(20, high + side * c.clear)) << c.width;
        }
        EXPECT_FALSE(sheet.Black(20, 20)) << c.width;
    }
    Sheet one;
    FrameRectEx(one.bmp.Canvas(), {10, 10, 30, 30}, 0, 0, 0, 0, 1);
    for (auto [x, y] : {std::pair{10, 10}, {30, 10}, {30, 30}, {10, 30}}) EXPECT_TRUE(one.Black(x, y)) << x << "," << y;
    Sheet empty;
    FrameRectEx(empty.bmp.Canvas(), {10, 10, 10, 30}, 0, 0, 0, 0, 1);
    EXPECT_FALSE(empty.Black(10, 20));
}

TEST(PaintCommonDraw, ClippedFrameRectLeavesOutTheSideTheClipCut)
{
    Sheet edges;
    ClippedFrameRect(edges.bmp.Canvas(), {10, 10, 30, 30}, {0, 0, 20, 40}, 0, 0, 0, 0, 1, true);
    EXPECT_TRUE(edges.Black(15, 10));  // top
    EXPECT_TRUE(edges.Black(15, 30));  // bottom
    EXPECT_TRUE(edges.Black(10, 20));  // left
    EXPECT_FALSE(edges.Black(20, 20)); // the cut at the clip's border
    EXPECT_FALSE(edges.Black(25, 10)); // nothing beyond the clip

    Sheet whole;
    ClippedFrameRect(whole.bmp.Canvas(), {10, 10, 30, 30}, {0, 0, 20, 40}, 0, 0, 0, 0, 1, false);
    EXPECT_TRUE(whole.Black(20, 20)); // the outline of the cut rectangle
    EXPECT_FALSE(whole.Black(25, 10));

    Sheet apart;
    ClippedFrameRect(apart.bmp.Canvas(), {10, 10, 30, 30}, {31, 0, 40, 40}, 0, 0, 0, 0, 1, false);
    EXPECT_FALSE(apart.Black(30, 20));
}

TEST(PaintCommonDraw, XorLineTwiceLeavesTheImageUnchanged)
{
    Sheet sheet;
    sheet.bmp.Canvas().Brush().SetColor(RGBColor(200, 30, 60));
    sheet.bmp.Canvas().FillRect({0, 0, 20, 40});
    sheet.bmp.Canvas().Pen().SetColor(RGBColor(10, 200, 90));
    std::vector<std::uint32_t> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) before.push_back(sheet.Pixel(x, y));
    XorLine(sheet.bmp.Canvas(), {2, 5}, {37, 33});
    EXPECT_NE(sheet.Pixel(2, 5), before[5 * 40 + 2]);
    EXPECT_EQ(sheet.bmp.Canvas().Pen().Mode(), pmCopy);
    XorLine(sheet.bmp.Canvas(), {2, 5}, {37, 33});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(sheet.Pixel(x, y), before[y * 40 + x]) << x << "," << y;
}

TEST(PaintCommonDraw, BlendBitmapAndBlendRect)
{
    Sheet sheet(8, 4);
    BlendBitmap(sheet.bmp, clBlack, 50);
    EXPECT_EQ(sheet.bmp.PixelFormat(), pf24bit);
    const std::uint8_t* row = sheet.bmp.ScanLine(3);
    EXPECT_EQ(row[7 * 3 + 0], 127);
    EXPECT_EQ(row[7 * 3 + 1], 127);
    EXPECT_EQ(row[7 * 3 + 2], 127);

    Sheet part(8, 4);
    BlendRect(part.bmp, {2, 1, 4, 3}, clRed, 100);
    EXPECT_EQ(part.Pixel(2, 1), ColorToPixel(clRed));
    EXPECT_EQ(part.Pixel(3, 2), ColorToPixel(clRed));
    EXPECT_EQ(part.Pixel(4, 2), 0xFFFFFFu);
    EXPECT_EQ(part.Pixel(1, 1), 0xFFFFFFu);
}

TEST(PaintCommonDraw, FillRectViaBitmapPaintsOnlyInsideTheClip)
{
    struct Case { TRect r; int filled; };
    const TRect clip{10, 10, 30, 30};
    // Inside, across the edge, touching it from outside, apart.
    for (const Case& c : {Case{{12, 12, 16, 16}, 16}, Case{{25, 12, 35, 16}, 20}, Case{{30, 12, 35, 16}, 0},
                          Case{{0, 0, 5, 5}, 0}}) {
        Sheet sheet;
        TBitmap scratch;
        sheet.bmp.Canvas().Brush().SetColor(clBlue);
        FillRectViaBitmap(sheet.bmp, scratch, c.r, clip, false, clNone);
        int blue = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                if (sheet.Pixel(x, y) != ColorToPixel(clBlue)) continue;
                ++blue;
                EXPECT_TRUE(PtInRect(clip, {x, y})) << x << "," << y;
            }
        EXPECT_EQ(blue, c.filled) << c.r.Left << "," << c.r.Top;
    }
}

TEST(PaintCommonDraw, TextIsCentredInItsRectangle)
{
    Sheet sheet(60, 30);
    sheet.bmp.Canvas().Font().SetColor(clBlack);
    const int height = DrawTextCenteredCanvas(sheet.bmp.Canvas(), "W", {0, 0, 60, 30}, true, DT_CENTER | DT_VCENTER);
    EXPECT_GT(height, 0);
    int left = 60, right = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            if (sheet.Black(x, y)) { left = std::min(left, x); right = std::max(right, x); }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 30, 3);
}

} // namespace
} // namespace kv
