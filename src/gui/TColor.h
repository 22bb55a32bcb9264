#pragma once
// Colours: low byte red, then green, then blue. Negative values name system colours
// (clSystemColor | index) and are resolved through the platform's system-colour lookup.
#include <cstdint>

namespace kv {

using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clInfoBk = clSystemColor | 24;

constexpr TColor RGBColor(std::uint8_t R, std::uint8_t G, std::uint8_t B)
{
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

// The platform's colour of a system-colour index (0x00BBGGRR).
std::uint32_t SystemColorRGB(int Index);

// The colour as plain red, green and blue (system colours looked up).
inline std::uint32_t ColorToRGB(TColor Color)
{
    if (Color < 0) return SystemColorRGB(Color & 0xFF);
    return static_cast<std::uint32_t>(Color) & 0xFFFFFF;
}

} // namespace kv
