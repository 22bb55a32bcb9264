#pragma once
// Colour conversions and the pixel work on scan lines that the drawing views share.
#include "gui/TColor.h"
#include "gui/TRect.h"

#include <cstdint>

namespace kv {

// The resolved colour split into red, green and blue.
void SplitColor(TColor Color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);
// The resolved colour with every channel c replaced by 255 - c.
TColor InvertColor(TColor Color);
// The resolved colour as one pixel of a 32-bit scan line: R shl 16 or G shl 8 or B.
std::uint32_t ColorToPixel(TColor Color);

// A top-down image in memory: Height rows of BytesPerLine bytes each.
struct TScanLines {
    std::uint8_t* Bits = nullptr;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t BytesPerLine = 0;
    std::uint32_t* Line32(std::int32_t Y) const { return reinterpret_cast<std::uint32_t*>(Bits + Y * BytesPerLine); }
    std::uint8_t* Line(std::int32_t Y) const { return Bits + Y * BytesPerLine; }
};

// 24-bit image (blue, green, red in memory): every channel moves Percent per cent of the way
// toward Color. Percent above 100 counts as 100.
void BlendScanLines24(const TScanLines& Image, TColor Color, std::uint8_t Percent);

// 32-bit images: every pixel of SourceRect in Source that differs from Key paints the pixel at
// the same offset from DestRect's top-left corner in Dest in Color. Pixels outside either image
// are skipped.
void TintMaskScanLines32(const TScanLines& Dest, const TRect& DestRect, TColor Color, const TScanLines& Source,
                         const TRect& SourceRect, std::uint32_t Key);

} // namespace kv
