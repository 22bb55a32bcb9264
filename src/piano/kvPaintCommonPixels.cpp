#include "piano/kvPaintCommonPixels.h"

#include <algorithm>

namespace kv {

void SplitColor(TColor Color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B)
{
    const std::uint32_t rgb = ColorToRGB(Color);
    R = rgb & 0xFF;
    G = (rgb >> 8) & 0xFF;
    B = (rgb >> 16) & 0xFF;
}

TColor InvertColor(TColor Color)
{
    std::uint8_t r = 0, g = 0, b = 0;
    SplitColor(Color, r, g, b);
    return RGBColor(255 - r, 255 - g, 255 - b);
}

std::uint32_t ColorToPixel(TColor Color)
{
    std::uint8_t r = 0, g = 0, b = 0;
    SplitColor(Color, r, g, b);
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

void BlendScanLines24(const TScanLines& Image, TColor Color, std::uint8_t Percent)
{
    std::uint8_t r = 0, g = 0, b = 0;
    SplitColor(Color, r, g, b);
    const std::uint32_t percent = std::min<std::uint32_t>(Percent, 100);
    const std::uint32_t inv = 100 - percent;
    auto mix = [&](std::uint8_t& channel, std::uint8_t target) {
        channel = static_cast<std::uint8_t>((inv * channel + percent * target) / 100);
    };
    for (std::int32_t y = 0; y < Image.Height; ++y) {
        std::uint8_t* pixel = Image.Line(y);
        for (std::int32_t x = 0; x < Image.Width; ++x, pixel += 3) {
            mix(pixel[0], b);
            mix(pixel[1], g);
            mix(pixel[2], r);
        }
    }
}

void TintMaskScanLines32(const TScanLines& Dest, const TRect& DestRect, TColor Color, const TScanLines& Source,
                         const TRect& SourceRect, std::uint32_t Key)
{
    const std::uint32_t paint = ColorToPixel(Color);
    const std::int64_t shiftX = static_cast<std::int64_t>(DestRect.Left) - SourceRect.Left;
    const std::int64_t shiftY = static_cast<std::int64_t>(DestRect.Top) - SourceRect.Top;
    const std::int32_t top = std::max(SourceRect.Top, 0), bottom = std::min(SourceRect.Bottom, Source.Height);
    const std::int32_t left = std::max(SourceRect.Left, 0), right = std::min(SourceRect.Right, Source.Width);
    for (std::int32_t y = top; y < bottom; ++y) {
        const std::int64_t destY = y + shiftY;
        if (destY < 0 || destY >= Dest.Height) continue;
        const std::uint32_t* from = Source.Line32(y);
        std::uint32_t* to = Dest.Line32(static_cast<std::int32_t>(destY));
        for (std::int32_t x = left; x < right; ++x) {
            const std::int64_t destX = x + shiftX;
            if (destX < 0 || destX >= Dest.Width) continue;
            if (from[x] != Key) to[destX] = paint;
        }
    }
}

} // namespace kv
