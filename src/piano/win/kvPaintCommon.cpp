#include "piano/win/kvPaintCommon.h"

#include "base/Exceptions.h"
#include "gui/win/TApplication.h"
#include "piano/kvPaintCommonGeometry.h"
#include "piano/kvPaintCommonPixels.h"

#include <algorithm>

namespace kv {

namespace {

// Puts the DC's background mode back when the routine ends, however it ends.
class TBkModeKeeper {
public:
    TBkModeKeeper(HDC DC, bool Transparent) : FDC(DC), FMode(Transparent ? SetBkMode(DC, TRANSPARENT) : GetBkMode(DC)) {}
    ~TBkModeKeeper() { SetBkMode(FDC, FMode); }

private:
    HDC FDC;
    int FMode;
};

class TPenWidthKeeper {
public:
    TPenWidthKeeper(TCanvas& Canvas, std::int32_t PenWidth) : FCanvas(Canvas), FWidth(Canvas.Pen().Width())
    {
        if (PenWidth > 0) Canvas.Pen().SetWidth(PenWidth);
    }
    ~TPenWidthKeeper() { FCanvas.Pen().SetWidth(FWidth); }

private:
    TCanvas& FCanvas;
    std::int32_t FWidth;
};

enum class TTextPlace { Centre, Top };

int DrawTextPlaced(HDC DC, const std::string& Text, const TRect& R, bool Transparent, UINT Format, TTextPlace Place)
{
    const std::wstring text = Utf8ToWide(Text);
    TBkModeKeeper mode(DC, Transparent);
    RECT measure{R.Left, R.Top, R.Right, R.Bottom};
    const int height = DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &measure, Format | DT_CALCRECT);
    if (height <= 0) return height;
    const std::int32_t W = RectWidth(R), H = RectHeight(R);
    const std::int32_t w = measure.right - measure.left, h = measure.bottom - measure.top;
    TRect place = Place == TTextPlace::Centre
                      ? TRect{R.Left + (W - w) / 2, R.Top + (H - h) / 2, R.Left + (W + w) / 2, R.Top + (H + h) / 2}
                      : TRect{R.Left + (W - w) / 2, R.Top, R.Left + (W + w) / 2, R.Top + h};
    IntersectRect(place, place, R);
    RECT target{place.Left, place.Top, place.Right, place.Bottom};
    return DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &target, Format);
}

std::vector<TPoint> OutlinePoints(const TRect& R, std::int32_t DLeft, std::int32_t DTop, std::int32_t DRight,
                                  std::int32_t DBottom, std::int32_t PenWidth)
{
    std::int32_t q = 0, r = 0;
    DivMod(PenWidth - 1, 2, q, r);
    return {{R.Left + DLeft - q, R.Top + DTop - q},
            {R.Right + DRight + q, R.Top + DTop - q},
            {R.Right + DRight + q, R.Bottom + DBottom + q},
            {R.Left + DLeft - q, R.Bottom + DBottom + q},
            {R.Left + DLeft - q, R.Top + DTop - q - r}};
}

TScanLines LinesOf(TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return {};
    return {Bitmap.ScanLine(0), Bitmap.Width(), Bitmap.Height(), Bitmap.BytesPerLine()};
}

} // namespace

int DrawTextCentered(HDC DC, const std::string& Text, const TRect& R, bool Transparent, UINT Format)
{
    return DrawTextPlaced(DC, Text, R, Transparent, Format, TTextPlace::Centre);
}

int DrawTextTopCentered(HDC DC, const std::string& Text, const TRect& R, bool Transparent, UINT Format)
{
    return DrawTextPlaced(DC, Text, R, Transparent, Format, TTextPlace::Top);
}

int DrawTextCenteredCanvas(TCanvas& Canvas, const std::string& Text, const TRect& R, bool Transparent, UINT Format)
{
    return DrawTextCentered(Canvas.Handle(), Text, R, Transparent, Format);
}

void DrawLine(HDC DC, const TPoint& P1, const TPoint& P2)
{
    MoveToEx(DC, P1.X, P1.Y, nullptr);
    LineTo(DC, P2.X, P2.Y);
}

void CanvasLine(TCanvas& Canvas, const TPoint& P1, const TPoint& P2)
{
    Canvas.MoveTo(P1.X, P1.Y);
    Canvas.LineTo(P2.X, P2.Y);
}

void XorLine(TCanvas& Canvas, const TPoint& P1, const TPoint& P2)
{
    const TPenMode mode = Canvas.Pen().Mode();
    Canvas.Pen().SetMode(pmXor);
    struct Restore {
        TCanvas& canvas;
        TPenMode mode;
        ~Restore() { canvas.Pen().SetMode(mode); }
    } restore{Canvas, mode};
    CanvasLine(Canvas, P1, P2);
}

void FrameRectEx(TCanvas& Canvas, const TRect& R, std::int32_t DLeft, std::int32_t DTop, std::int32_t DRight,
                 std::int32_t DBottom, std::int32_t PenWidth)
{
    if (IsRectEmpty(R)) return;
    TPenWidthKeeper width(Canvas, PenWidth);
    Canvas.Polyline(OutlinePoints(R, DLeft, DTop, DRight, DBottom, Canvas.Pen().Width()));
}

void ClippedFrameRect(TCanvas& Canvas, const TRect& R, const TRect& Clip, std::int32_t DLeft, std::int32_t DTop,
                      std::int32_t DRight, std::int32_t DBottom, std::int32_t PenWidth, bool EdgesOnly)
{
    if (IsRectEmpty(R)) return;
    TRect x;
    if (!IntersectRect(x, R, Clip)) return;
    TPenWidthKeeper width(Canvas, PenWidth);
    if (!EdgesOnly) {
        Canvas.Polyline(OutlinePoints(x, DLeft, DTop, DRight, DBottom, Canvas.Pen().Width()));
        return;
    }
    // An edge of the cut rectangle is drawn only when it is an edge of R, not a cut of the clip.
    const TPoint tl{x.Left, x.Top}, tr{x.Right, x.Top}, br{x.Right, x.Bottom}, bl{x.Left, x.Bottom};
    const TPoint rtl{R.Left, R.Top}, rtr{R.Right, R.Top}, rbr{R.Right, R.Bottom}, rbl{R.Left, R.Bottom};
    struct Edge { TPoint a, b, ra, rb; };
    const Edge edges[] = {{tl, tr, rtl, rtr}, {tr, br, rtr, rbr}, {br, bl, rbr, rbl}, {bl, tl, rbl, rtl}};
    HDC dc = Canvas.Handle();
    for (const Edge& e : edges)
        if (PointNearSegment(e.a, e.ra, e.rb, 0) && PointNearSegment(e.b, e.ra, e.rb, 0)) DrawLine(dc, e.a, e.b);
}

void TintMaskPixels(TBitmap& Dest, const TRect& DestRect, TColor Color, TBitmap& Source, const TRect& SourceRect,
                    std::uint32_t Key)
{
    Dest.SetPixelFormat(pf32bit);
    Source.SetPixelFormat(Dest.PixelFormat());
    if (Dest.Empty() || Source.Empty()) return;
    TintMaskScanLines32(LinesOf(Dest), DestRect, Color, LinesOf(Source), SourceRect, Key);
}

void FillRectViaBitmap(TBitmap& Dest, TBitmap& Scratch, const TRect& R, const TRect& Clip, bool MaskMode,
                       TColor MaskColor)
{
    TRect fill;
    // Only what lies inside the clip is filled: a rectangle that merely touches it paints nothing.
    if (!IntersectRect(fill, R, Clip)) return;
    const std::int32_t width = RectWidth(fill), height = RectHeight(fill);
    Scratch.SetSize(std::max(Scratch.Width(), width), std::max(Scratch.Height(), height));
    const TRect s{0, 0, width, height};
    TCanvas& dest = Dest.Canvas();
    TCanvas& scratch = Scratch.Canvas();
    const DWORD copyMode = dest.CopyMode();
    struct Restore {
        TCanvas& canvas;
        DWORD mode;
        ~Restore() { canvas.SetCopyMode(mode); }
    } restore{dest, copyMode};
    scratch.Brush().Assign(dest.Brush());
    if (MaskMode) {
        scratch.FillRect(s);
        TintMaskPixels(Dest, fill, MaskColor, Scratch, s, 0);
        return;
    }
    const TBrushStyle style = dest.Brush().Style();
    if (style == bsSolid || style == bsClear) {
        scratch.FillRect(s);
        dest.SetCopyMode(SRCCOPY);
        dest.CopyRect(fill, scratch, s);
        return;
    }
    scratch.Brush().SetStyle(bsSolid);
    scratch.FillRect(s);
    dest.SetCopyMode(SRCCOPY);
    dest.CopyRect(fill, scratch, s);
    scratch.Brush().Assign(dest.Brush());
    scratch.FillRect(s);
    TintMaskPixels(Dest, fill, MaskColor, Scratch, s, 0);
}

void BlendBitmap(TBitmap& Bitmap, TColor Color, std::uint8_t Percent)
{
    Bitmap.SetPixelFormat(pf24bit);
    KV_ASSERT(Bitmap.PixelFormat() == pf24bit, "Assertion failure");
    if (Bitmap.Empty()) return;
    BlendScanLines24(LinesOf(Bitmap), Color, Percent);
}

void BlendRect(TBitmap& Bitmap, const TRect& R, TColor Color, std::uint8_t Percent)
{
    if (IsRectEmpty(R)) return;
    TBitmap part;
    part.SetPixelFormat(pf24bit);
    part.SetSize(RectWidth(R), RectHeight(R));
    const TRect whole{0, 0, RectWidth(R), RectHeight(R)};
    part.Canvas().CopyRect(whole, Bitmap.Canvas(), R);
    BlendBitmap(part, Color, Percent);
    Bitmap.Canvas().CopyRect(R, part.Canvas(), whole);
}

} // namespace kv
