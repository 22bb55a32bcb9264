#include "app/win/uToolImages.h"

#include "gui/win/TBitmap.h"

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace kv {

namespace {

constexpr TColor Transparent = RGBColor(255, 0, 255);

// A pixel's colour, or Transparent; coordinates are pixel centres in 0..24.
using TPainter = std::function<TColor(double X, double Y)>;

bool InRect(double X, double Y, double L, double T, double R, double B) { return X >= L && X < R && Y >= T && Y < B; }
bool InCircle(double X, double Y, double CX, double CY, double Radius)
{
    return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
}
bool InRing(double X, double Y, double CX, double CY, double Outer, double Inner)
{
    return InCircle(X, Y, CX, CY, Outer) && !InCircle(X, Y, CX, CY, Inner);
}
// Inside the triangle pointing right (Dir 1) or left (Dir -1) with its tip at TipX.
bool InTriangle(double X, double Y, double BaseX, double TipX, double CY, double Half)
{
    const double t = (X - BaseX) / (TipX - BaseX);
    return t >= 0 && t <= 1 && std::fabs(Y - CY) <= Half * (1 - t);
}

constexpr TColor Green = RGBColor(30, 150, 40), Red = RGBColor(210, 30, 30), Blue = RGBColor(30, 70, 170),
                 Navy = RGBColor(20, 40, 110), Yellow = RGBColor(235, 190, 50), Grey = RGBColor(110, 110, 110),
                 Black = RGBColor(0, 0, 0), White = RGBColor(255, 255, 255), Light = RGBColor(225, 225, 225);

TColor Disk(double X, double Y)
{
    if (!InRect(X, Y, 3, 3, 21, 21)) return Transparent;
    if (InRect(X, Y, 7, 3, 17, 10)) return White;
    if (InRect(X, Y, 7, 14, 17, 21)) return Light;
    return Blue;
}

TColor Page(double X, double Y)
{
    if (!InRect(X, Y, 5, 2, 19, 22)) return Transparent;
    if (InRect(X, Y, 5, 2, 19, 3) || InRect(X, Y, 5, 21, 19, 22) || InRect(X, Y, 5, 2, 6, 22) || InRect(X, Y, 18, 2, 19, 22))
        return Grey;
    const int row = static_cast<int>(Y);
    return row >= 6 && row <= 18 && row % 3 == 0 && X >= 8 && X < 16 ? Grey : White;
}

TColor Gear(double X, double Y)
{
    const double angle = std::atan2(Y - 12, X - 12);
    const bool tooth = std::fmod(angle + 4 * std::numbers::pi + std::numbers::pi / 8, std::numbers::pi / 4) < std::numbers::pi / 8;
    if (InCircle(X, Y, 12, 12, 4)) return Transparent;
    if (InCircle(X, Y, 12, 12, 8) || (tooth && InCircle(X, Y, 12, 12, 11))) return Grey;
    return Transparent;
}

TColor Letter(double X, double Y, bool Question)
{
    if (!InCircle(X, Y, 12, 12, 10.5)) return Transparent;
    if (Question) {
        if (InRing(X, Y, 12, 9, 5, 2.5) && !(X < 12 && Y > 9)) return White;
        if (InRect(X, Y, 10.8, 11, 13.2, 15) || InCircle(X, Y, 12, 17.5, 1.5)) return White;
    } else if (InCircle(X, Y, 12, 7, 1.6) || InRect(X, Y, 10.8, 10, 13.2, 18.5)) {
        return White;
    }
    return Blue;
}

TColor Keys(double X, double Y)
{
    if (!InRect(X, Y, 1, 5, 23, 19)) return Transparent;
    if (Y < 6 || Y >= 18 || X < 2 || X >= 22) return Black;
    const int column = static_cast<int>(X - 2);
    if (Y < 13 && (column % 4 == 2 || column % 4 == 3) && column < 19) return Black;
    return column % 4 == 0 ? Grey : White;
}

TColor Roll(double X, double Y)
{
    if (!InRect(X, Y, 2, 3, 22, 21)) return Transparent;
    if (InRect(X, Y, 4, 6, 11, 8) || InRect(X, Y, 9, 11, 17, 13) || InRect(X, Y, 14, 16, 20, 18)) return Blue;
    return static_cast<int>(X) % 5 == 2 || static_cast<int>(Y) % 5 == 3 ? Light : White;
}

const std::array<TPainter, ToolImageCount>& Painters()
{
    static const std::array<TPainter, ToolImageCount> painters = {
        [](double X, double Y) { return InTriangle(X, Y, 6, 20, 12, 8) ? Green : Transparent; },   // play
        [](double X, double Y) {                                                                     // pause
            return InRect(X, Y, 6, 4, 10, 20) || InRect(X, Y, 14, 4, 18, 20) ? Blue : Transparent;
        },
        [](double X, double Y) { return InCircle(X, Y, 12, 12, 8) ? Red : Transparent; },           // record
        [](double X, double Y) { return InRect(X, Y, 5, 5, 19, 19) ? Navy : Transparent; },           // stop
        [](double X, double Y) {                                                                     // open
            if (InRect(X, Y, 3, 5, 10, 8)) return Yellow;
            return InRect(X, Y, 3, 7, 21, 19) ? (InRect(X, Y, 4, 8, 20, 9) ? White : Yellow) : Transparent;
        },
        [](double X, double Y) { return Disk(X, Y); },                                               // save
        [](double X, double Y) {                                                                     // save as
            if (std::fabs((X - 12) - (22 - Y)) < 1.5 && X > 12 && Y > 10) return Red;
            return Disk(X, Y);
        },
        [](double X, double Y) { return Page(X, Y); },                                               // events
        [](double X, double Y) { return InTriangle(X, Y, 18, 4, 12, 8) ? Green : Transparent; },     // back
        [](double X, double Y) {                                                                     // fast forward
            return InTriangle(X, Y, 3, 12, 12, 7) || InTriangle(X, Y, 12, 21, 12, 7) ? Green : Transparent;
        },
        [](double X, double Y) {                                                                     // plus
            return InRect(X, Y, 10, 4, 14, 20) || InRect(X, Y, 4, 10, 20, 14) ? Navy : Transparent;
        },
        [](double X, double Y) { return InRect(X, Y, 4, 10, 20, 14) ? Navy : Transparent; },         // minus
        [](double X, double Y) {                                                                     // repeat
            if (InTriangle(X, Y, 12, 20, 5, 4) && Y < 9) return Green;
            return InRing(X, Y, 12, 12, 9, 6) && !(X > 12 && Y < 8) ? Green : Transparent;
        },
        [](double X, double Y) { return Letter(X, Y, true); },                                       // help
        [](double X, double Y) { return Gear(X, Y); },                                               // options
        [](double X, double Y) {                                                                     // note
            if (InCircle(X, Y, 9, 17, 4)) return Black;
            return InRect(X, Y, 12, 3, 14, 17) || InRect(X, Y, 12, 3, 19, 6) ? Black : Transparent;
        },
        [](double X, double Y) {                                                                     // volume
            if (InRect(X, Y, 3, 9, 8, 15) || InTriangle(X, Y, 14, 6, 12, 8)) return Grey;
            return InRing(X, Y, 13, 12, 8, 6.5) && X > 16 ? Grey : Transparent;
        },
        [](double X, double Y) { return Letter(X, Y, false); },                                      // about
        [](double X, double Y) { return Keys(X, Y); },                                               // keyboard
        [](double X, double Y) { return Roll(X, Y); },                                               // piano roll
        [](double X, double Y) {                                                                     // stay on top
            if (InCircle(X, Y, 12, 7, 5)) return Red;
            return InRect(X, Y, 11, 11, 13, 22) ? Grey : Transparent;
        },
    };
    return painters;
}

void PaintImage(TBitmap& Image, std::int32_t Size, const TPainter& Paint, double Scale)
{
    Image.SetPixelFormat(pf32bit);
    Image.SetSize(Size, Size);
    for (std::int32_t y = 0; y < Size; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(Image.ScanLine(y));
        for (std::int32_t x = 0; x < Size; ++x) {
            const std::uint32_t rgb = ColorToRGB(Paint((x + 0.5) * Scale, (y + 0.5) * Scale));
            // Pixels are stored blue, green, red.
            row[x] = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
        }
    }
}

} // namespace

void LoadToolImages(TImageList& Images)
{
    TBitmap image;
    for (const TPainter& paint : Painters()) {
        PaintImage(image, ToolImageSize, paint, 1.0);
        Images.AddMasked(image, Transparent);
    }
}

void DrawResetGlyph(TBitmap& Glyph)
{
    constexpr std::int32_t size = 11;
    // Drawn on the tool images' grid of 24 and shrunk: a lens with a handle to the bottom right.
    PaintImage(Glyph, size, [](double X, double Y) {
        if (InRing(X, Y, 10, 10, 8, 5.2)) return Navy;
        return std::fabs((X - 10) - (Y - 10)) < 2.2 && X > 15 && X < 23 ? Navy : Transparent;
    }, 24.0 / size);
}

} // namespace kv
