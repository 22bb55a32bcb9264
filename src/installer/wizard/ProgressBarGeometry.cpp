#include "ProgressBarGeometry.h"

#include <algorithm>

namespace {

constexpr std::int32_t kEdge = 2;
constexpr std::int32_t kGap = 2;
constexpr std::int32_t kMostLeftOver = 4;

} // namespace

std::int32_t fitProgressBlockWidth(std::int32_t barWidth)
{
    const std::int32_t inner = barWidth - 6;
    if (inner % (kDefaultBlockWidth + kGap) <= kMostLeftOver)
        return kDefaultBlockWidth;
    for (std::int32_t width = kDefaultBlockWidth + 1; width <= inner / 4; ++width) {
        if (inner % (width + kGap) <= kMostLeftOver)
            return width;
    }
    return kDefaultBlockWidth;
}

std::int32_t progressFilledWidth(std::int32_t barWidth, std::int32_t percent)
{
    const std::int64_t inside = std::max<std::int64_t>(0, std::int64_t{barWidth} - 2 * kEdge);
    return static_cast<std::int32_t>(inside * percent / 100);
}

std::int32_t progressBlockCount(std::int32_t filledWidth, std::int32_t blockWidth)
{
    const std::int32_t step = blockWidth + kGap;
    return (filledWidth + step / 2) / step;
}

ProgressSpan progressBlockSpan(std::int32_t index, std::int32_t blockWidth, std::int32_t barWidth)
{
    const std::int64_t step = blockWidth + kGap;
    const std::int64_t left = index * step + 3;
    // The edge is drawn once at creation: a block that would reach into it is cut at the inside.
    const std::int64_t right = std::min<std::int64_t>((index + 1) * step + 1, barWidth - kEdge);
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(std::max(left, right))};
}
