#pragma once
// The drawing routines the two drawing views share: centred text, lines, outlines centred on a
// rectangle's edges whatever the pen width, clipped outlines and fills, and pixel work on bitmaps.
// Each restores what it changed (background mode, pen width, copy mode) also when drawing raises.
#include "gui/TColor.h"
#include "gui/TRect.h"
#include "gui/win/TBitmap.h"
#include "gui/win/TCanvas.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace kv {

// Text centred in R (clipped to it); returns the platform's result (the text height), or the
// measured height when it is 0 or less and nothing was drawn.
int DrawTextCentered(HDC DC, const std::string& Text, const TRect& R, bool Transparent, UINT Format);
// As DrawTextCentered, but at the top of R.
int DrawTextTopCentered(HDC DC, const std::string& Text, const TRect& R, bool Transparent, UINT Format);
int DrawTextCenteredCanvas(TCanvas& Canvas, const std::string& Text, const TRect& R, bool Transparent, UINT Format);

void DrawLine(HDC DC, const TPoint& P1, const TPoint& P2);
void CanvasLine(TCanvas& Canvas, const TPoint& P1, const TPoint& P2);
// Drawing the same line twice removes it.
void XorLine(TCanvas& Canvas, const TPoint& P1, const TPoint& P2);

// The outline of R moved by the four offsets, centred on its edges for any pen width
// (PenWidth 0 keeps the canvas's pen width).
void FrameRectEx(TCanvas& Canvas, const TRect& R, std::int32_t DLeft, std::int32_t DTop, std::int32_t DRight,
                 std::int32_t DBottom, std::int32_t PenWidth);
// The outline of R cut to Clip; with EdgesOnly only the edges of R that the clip did not cut.
void ClippedFrameRect(TCanvas& Canvas, const TRect& R, const TRect& Clip, std::int32_t DLeft, std::int32_t DTop,
                      std::int32_t DRight, std::int32_t DBottom, std::int32_t PenWidth, bool EdgesOnly);

// Every pixel of Source's SourceRect that differs from Key paints the matching pixel of Dest's
// DestRect in Color. Dest becomes 32 bits per pixel; pixels outside either bitmap are skipped.
void TintMaskPixels(TBitmap& Dest, const TRect& DestRect, TColor Color, TBitmap& Source, const TRect& SourceRect,
                    std::uint32_t Key);
// Fills the part of R inside Clip with Dest's canvas brush, going through Scratch (which grows
// as needed); nothing when R does not meet Clip.
void FillRectViaBitmap(TBitmap& Dest, TBitmap& Scratch, const TRect& R, const TRect& Clip, bool MaskMode,
                       TColor MaskColor);
// Moves every pixel Percent per cent toward Color; the bitmap becomes 24 bits per pixel.
void BlendBitmap(TBitmap& Bitmap, TColor Color, std::uint8_t Percent);
void BlendRect(TBitmap& Bitmap, const TRect& R, TColor Color, std::uint8_t Percent);

} // namespace kv
