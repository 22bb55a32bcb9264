#include "app/uKeyButtons.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kv {
namespace {

TEST(KeyButtons, EveryRowOfKeysStandsWhereThePictureWantsIt)
{
    struct Case {
        int row, left, top, width, height;
    };
    const Case cases[] = {
        {0, 10, 10, 41, 21},   {13, 543, 10, 41, 21}, // grave accent .. backslash
        {14, 10, 31, 41, 21},  {25, 461, 31, 41, 21}, // q .. ]
        {26, 10, 52, 41, 21},  {36, 420, 52, 41, 21}, // a .. '
        {37, 10, 73, 41, 21},  {46, 379, 73, 41, 21}, // z .. /
        {47, 10, 115, 41, 21}, {49, 92, 115, 41, 21}, // Ins .. Page Up
        {50, 10, 136, 41, 21}, {52, 92, 136, 41, 21}, // Del .. Page Down
        {53, 51, 178, 41, 21},                        // the up arrow
        {54, 10, 199, 41, 21}, {56, 92, 199, 41, 21}, // left, down, right
        {57, 174, 115, 41, 21}, {60, 297, 115, 41, 21}, // Num Lock .. Num -
        {61, 174, 136, 41, 21}, {64, 297, 136, 41, 42}, // Num 7 .. Num + (double height)
        {65, 174, 157, 41, 21}, {67, 256, 157, 41, 21}, // Num 4 .. Num 6
        {68, 174, 178, 41, 21}, {71, 297, 178, 41, 42}, // Num 1 .. Num Enter (double height)
        {72, 174, 199, 82, 21}, {73, 256, 199, 41, 21}, // Num 0 (double width), Num .
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const TRect r = KeyButtonBounds(c.row);
        EXPECT_EQ(r.Left, c.left);
        EXPECT_EQ(r.Top, c.top);
        EXPECT_EQ(r.Right - r.Left, c.width);
        EXPECT_EQ(r.Bottom - r.Top, c.height);
    }
    // No two keys overlap.
    for (int a = 0; a < 74; ++a)
        for (int b = a + 1; b < 74; ++b) {
            const TRect p = KeyButtonBounds(a), q = KeyButtonBounds(b);
            EXPECT_FALSE(p.Left < q.Right && q.Left < p.Right && p.Top < q.Bottom && q.Top < p.Bottom) << a << " " << b;
        }
    EXPECT_THROW(KeyButtonBounds(74), std::out_of_range);
    EXPECT_THROW(KeyButtonBounds(-1), std::out_of_range);
}

} // namespace
} // namespace kv
