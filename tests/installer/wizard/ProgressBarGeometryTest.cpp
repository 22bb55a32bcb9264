// Where the progress bar draws: block widths fitted to the bar, filled widths, block counts and
// the blocks' columns, and the percentages fed to it from byte counts.
#include "installer/wizard/ProgressBarGeometry.h"
#include "installer/wizard/TransferPercent.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ProgressBarGeometry, BlockWidthIsFittedSoThatWholeBlocksFillTheBar)
{
    struct Case {
        std::int32_t barWidth;
        std::int32_t blockWidth;
    };
    const Case cases[] = {
        {200, 10}, // inside 194: 194 mod 12 = 2, 10 stays
        {180, 15}, // inside 174: 11, 12, 13, 14 leave 5, 6, 9, 14 over; 15 leaves 4
        {205, 11}, // inside 199: 199 mod 12 = 7, 199 mod 13 = 4
        {6, 10},   // no inside at all
        {0, 10},   // negative inside
        {26, 10},  // inside 20: 20 mod 12 = 8, nothing up to 20 / 4 = 5 is tried
        {50, 10},  // inside 44: 44 mod 12 = 8, 11 is tried (44 mod 13 = 5) and fails, back to 10
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitProgressBlockWidth(c.barWidth), c.blockWidth) << "bar of " << c.barWidth;
}

TEST(ProgressBarGeometry, FilledWidthAndBlocksFollowThePercentage)
{
    struct Case {
        std::int32_t barWidth;
        std::int32_t percent;
        std::int32_t blockWidth;
        std::int32_t filled;
        std::int32_t blocks;
    };
    const Case cases[] = {
        {200, 100, 10, 196, 16}, {200, 0, 10, 0, 0},   {200, 50, 10, 98, 8}, {200, 3, 10, 5, 0},
        {200, 4, 10, 7, 1},      {180, 100, 15, 176, 10}, {3, 100, 10, 0, 0},
    };
    for (const Case& c : cases) {
        const std::int32_t filled = progressFilledWidth(c.barWidth, c.percent);
        EXPECT_EQ(filled, c.filled) << c.barWidth << " at " << c.percent;
        EXPECT_EQ(progressBlockCount(filled, c.blockWidth), c.blocks) << c.barWidth << " at " << c.percent;
    }
}

TEST(ProgressBarGeometry, BlocksAreSeparatedByGapsAndStayInsideTheEdge)
{
    struct Case {
        std::int32_t index;
        std::int32_t blockWidth;
        std::int32_t barWidth;
        ProgressSpan span;
    };
    const Case cases[] = {
        {0, 10, 200, {3, 13}},
        {1, 10, 200, {15, 25}},
        {15, 10, 200, {183, 193}}, // the last block of a full 200-pixel bar
        {9, 15, 180, {156, 171}},
        {16, 10, 206, {195, 204}}, // unfitted blocks would reach 205, into the edge at 204
        {17, 10, 206, {207, 207}}, // wholly outside: empty
    };
    for (const Case& c : cases) {
        const ProgressSpan span = progressBlockSpan(c.index, c.blockWidth, c.barWidth);
        EXPECT_EQ(span.left, c.span.left) << "block " << c.index << " of a bar of " << c.barWidth;
        EXPECT_EQ(span.right, c.span.right) << "block " << c.index << " of a bar of " << c.barWidth;
    }
}

TEST(TransferPercent, IsTheShareDoneAndNeverDividesByZero)
{
    struct Case {
        std::int64_t transferred;
        std::int64_t total;
        std::int32_t percent;
    };
    const Case cases[] = {
        {0, 1000, 0},
        {500, 1000, 50},
        {999, 1000, 99},
        {1000, 1000, 100},
        {0, 0, -1},
        {5, 0, -1},
        {1001, 1000, -1},
        {-1, 1000, -1},
        {std::int64_t{6} << 40, std::int64_t{8} << 40, 75}, // beyond 32 bits
        {INT64_MAX, INT64_MAX, 100},                        // x 100 would overflow 64 bits
    };
    for (const Case& c : cases)
        EXPECT_EQ(transferPercent(c.transferred, c.total), c.percent) << c.transferred << " of " << c.total;
}

} // namespace
