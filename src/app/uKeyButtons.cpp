#include "app/uKeyButtons.h"

#include "piano/kvPianoKeyLayout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace kv {

namespace {

constexpr std::int32_t ButtonWidth = 41, ButtonHeight = 21;
constexpr int FirstPadRow = 57;
constexpr int NumPlus = 64, NumEnter = 71, NumZero = 72;

bool OneOf(int Row, std::initializer_list<int> Rows) { return std::find(Rows.begin(), Rows.end(), Row) != Rows.end(); }

} // namespace

TRect KeyButtonBounds(int Row)
{
    if (Row < 0 || Row >= KeyLayoutRows) throw std::out_of_range("key button row " + std::to_string(Row));
    std::int32_t top = 10, column = 0;
    for (int r = 0; r <= Row; ++r) {
        if (r > 0) ++column;
        if (OneOf(r, {14, 26, 37, 47, 50, 53, 54, 57, 61, 65, 68, 72})) {
            top += ButtonHeight;
            column = 0;
        }
        // An empty row above the navigation keys, the arrows and the pad.
        if (OneOf(r, {47, 53, 57})) top += ButtonHeight;
        // The up arrow stands over the down arrow, Num . right of the double-width Num 0.
        if (OneOf(r, {53, 73})) ++column;
    }
    std::int32_t left = 10 + ButtonWidth * column, y = top;
    // The pad stands beside the navigation keys: four columns right, six rows up.
    if (Row >= FirstPadRow) {
        left += 4 * ButtonWidth;
        y -= 6 * ButtonHeight;
    }
    const std::int32_t width = Row == NumZero ? 2 * ButtonWidth : ButtonWidth;
    const std::int32_t height = Row == NumPlus || Row == NumEnter ? 2 * ButtonHeight : ButtonHeight;
    return {left, y, left + width, y + height};
}

} // namespace kv
