#include "gui/win/TSpeedButton.h"

#include "gui/win/TApplication.h"

#include <cstring>

namespace kv {

namespace {

std::uint32_t PixelAt(TBitmap& Image, std::int32_t X, std::int32_t Y)
{
    return reinterpret_cast<const std::uint32_t*>(Image.ScanLine(Y))[X] & 0xFFFFFF;
}

} // namespace

void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Font().Assign(Font());
    RECT r{0, 0, Width(), Height()};
    canvas.FillRect(ClientRect());
    HDC dc = canvas.Handle();
    if (FDown) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    else if (!FFlat) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    if (!FGlyph.Empty()) {
        PaintGlyph(dc);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    const std::wstring caption = Utf8ToWide(FCaption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::PaintGlyph(HDC DC)
{
    // A pressed button's picture moves a pixel down and right, as its edge does.
    const std::int32_t shift = FDown ? 1 : 0;
    const std::int32_t left = (Width() - FGlyph.Width()) / 2 + shift, top = (Height() - FGlyph.Height()) / 2 + shift;
    const std::uint32_t transparent = PixelAt(FGlyph, 0, FGlyph.Height() - 1);
    for (std::int32_t y = 0; y < FGlyph.Height(); ++y)
        for (std::int32_t x = 0; x < FGlyph.Width(); ++x) {
            const std::uint32_t pixel = PixelAt(FGlyph, x, y);
            // Stored blue, green, red: the other way round from a colour reference.
            if (pixel != transparent) SetPixelV(DC, left + x, top + y, RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
        }
}

void TSpeedButton::SetGlyph(TBitmap& Value)
{
    Value.SetPixelFormat(pf32bit);
    FGlyph.SetPixelFormat(pf32bit);
    FGlyph.SetSize(Value.Width(), Value.Height());
    for (std::int32_t y = 0; y < Value.Height(); ++y)
        std::memcpy(FGlyph.ScanLine(y), Value.ScanLine(y), static_cast<std::size_t>(Value.Width()) * 4);
    Invalidate();
}

void TSpeedButton::SetDown(bool Value)
{
    if (FDown == Value) return;
    FDown = Value;
    Invalidate();
    if (!Value || FGroupIndex == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetDown(false);
    }
}

void TSpeedButton::Click()
{
    if (FGroupIndex != 0) SetDown(true);
    TCustomControl::Click();
}

} // namespace kv
