#pragma once
// Where the installer's progress bar draws: the fitted block width, the filled part and the
// blocks of block mode. A bar of width W has a two-pixel sunken edge; its inside runs from 2 to
// W - 2, and blocks of w pixels with 2-pixel gaps start 3 pixels in.
#include <cstdint>

constexpr std::int32_t kDefaultBlockWidth = 10;

// The block width for a bar barWidth pixels wide: 10 when 10-pixel blocks nearly fill it (at
// most 4 pixels left over), else the first wider block that does, else 10.
std::int32_t fitProgressBlockWidth(std::int32_t barWidth);

// Pixels of the inside that percent fills.
std::int32_t progressFilledWidth(std::int32_t barWidth, std::int32_t percent);

// The number of blocks for the filled width, rounded to the nearest whole block.
std::int32_t progressBlockCount(std::int32_t filledWidth, std::int32_t blockWidth);

struct ProgressSpan {
    std::int32_t left;
    std::int32_t right; // exclusive
};

// Block index (from 0), kept inside the bar's edge: a span with left >= right draws nothing.
ProgressSpan progressBlockSpan(std::int32_t index, std::int32_t blockWidth, std::int32_t barWidth);
