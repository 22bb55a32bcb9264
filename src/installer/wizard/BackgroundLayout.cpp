#include "installer/wizard/BackgroundLayout.h"

#include "installer/state/InstallerState.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kFromFarEdge = 0x80000000u;

std::int32_t component(std::uint32_t colour, int shift)
{
    return static_cast<std::int32_t>((colour >> shift) & 0xFF);
}

std::uint32_t packColour(const std::int32_t (&rgb)[3])
{
    std::uint32_t colour = 0;
    for (int i = 0; i < 3; ++i)
        colour |= (static_cast<std::uint32_t>(rgb[i]) & 0xFF) << (8 * i);
    return colour;
}

// Rows first to last - 1 running from colour a toward colour b in steps; the error sums carry
// each division's remainder so that after steps rows the colour is exactly b.
void fillBand(std::vector<std::uint32_t>& rows, std::uint32_t first, std::uint32_t last, std::uint32_t a,
              std::uint32_t b, std::uint32_t steps)
{
    std::int32_t current[3], q[3] = {}, r[3] = {}, d[3], e[3] = {};
    const auto s = static_cast<std::int32_t>(steps);
    for (int i = 0; i < 3; ++i) {
        current[i] = component(a, 8 * i);
        d[i] = current[i] - component(b, 8 * i);
        if (s > 0) {
            q[i] = d[i] / s;
            r[i] = d[i] % s;
        }
    }
    for (std::uint32_t row = first; row < last; ++row) {
        rows[row] = packColour(current);
        if (s == 0)
            continue;
        for (int i = 0; i < 3; ++i) {
            current[i] -= q[i];
            e[i] += r[i];
            if (d[i] > 0 && e[i] >= s) {
                e[i] -= s;
                current[i] -= 1;
            } else if (d[i] <= 0 && e[i] <= -s) {
                e[i] += s;
                current[i] += 1;
            }
        }
    }
}

std::int32_t cornerLeft(std::int32_t corner, std::int32_t left, std::int32_t areaWidth, std::int32_t width)
{
    switch (corner) {
    case kSlideshowCentre:
        return left + areaWidth / 2 - width / 2;
    case kSlideshowTopLeft:
    case kSlideshowBottomLeft:
        return left;
    default:
        return left + areaWidth - width;
    }
}

std::int32_t cornerTop(std::int32_t corner, std::int32_t top, std::int32_t areaHeight, std::int32_t height)
{
    switch (corner) {
    case kSlideshowCentre:
        return top + areaHeight / 2 - height / 2;
    case kSlideshowTopLeft:
    case kSlideshowTopRight:
        return top;
    default:
        return top + areaHeight - height;
    }
}

} // namespace

std::vector<std::uint32_t> gradientRows(std::uint32_t topColour, std::uint32_t splitColour, std::uint32_t bottomColour,
                                        std::uint32_t splitPercent, std::uint32_t height)
{
    std::vector<std::uint32_t> rows(height);
    const std::uint64_t split64 = static_cast<std::uint64_t>(height) * splitPercent / 100;
    const auto split = static_cast<std::uint32_t>(std::min<std::uint64_t>(split64, height));
    fillBand(rows, 0, split, topColour, splitColour, split);
    if (split < height)
        fillBand(rows, split, height, splitColour, bottomColour, height - split - 1);
    return rows;
}

PixelRect pageImagePlace(std::uint32_t flags, std::uint32_t imageX, std::uint32_t imageY, std::int32_t width,
                         std::int32_t height, std::int32_t imageWidth, std::int32_t imageHeight)
{
    if (flags & kBackgroundStretchImage)
        return {0, 0, width, height};
    if (flags & kBackgroundTileImage)
        return {0, 0, imageWidth, imageHeight};
    auto x = static_cast<std::int64_t>(imageX & ~kFromFarEdge);
    auto y = static_cast<std::int64_t>(imageY & ~kFromFarEdge);
    if (imageX & kFromFarEdge)
        x = std::int64_t{width} - imageWidth - x;
    if (imageY & kFromFarEdge)
        y = std::int64_t{height} - imageHeight - y;
    const auto clampToInt = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {clampToInt(x), clampToInt(y), imageWidth, imageHeight};
}

std::vector<PixelRect> pageImageTiles(std::int32_t width, std::int32_t height, std::int32_t imageWidth,
                                      std::int32_t imageHeight)
{
    std::vector<PixelRect> tiles;
    if (imageWidth <= 0 || imageHeight <= 0)
        return tiles;
    for (std::int64_t y = 0; y < height; y += imageHeight)
        for (std::int64_t x = 0; x < width; x += imageWidth)
            if (x != 0 || y != 0)
                tiles.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), imageWidth, imageHeight});
    return tiles;
}

PixelRect slideshowImagePlace(const SlideshowLayout& layout, std::int32_t width, std::int32_t height,
                              std::int32_t imageWidth, std::int32_t imageHeight)
{
    const std::int32_t areaWidth = layout.largestWidth;
    const std::int32_t areaHeight = layout.largestHeight;
    std::int32_t areaLeft = 0, areaTop = 0;
    if (layout.area == kSlideshowCentre) {
        areaLeft = width / 2 - areaWidth / 2;
        areaTop = height / 2 - areaHeight / 2;
    } else {
        areaLeft = cornerLeft(layout.area, 0, width, areaWidth);
        areaTop = cornerTop(layout.area, 0, height, areaHeight);
    }
    areaLeft += layout.offsetX;
    areaTop += layout.offsetY;
    return {cornerLeft(layout.alignment, areaLeft, areaWidth, imageWidth),
            cornerTop(layout.alignment, areaTop, areaHeight, imageHeight), imageWidth, imageHeight};
}
