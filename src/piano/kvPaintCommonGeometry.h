#pragma once
// The small arithmetic the two drawing views share: integer helpers, rectangles and segments.
// All on signed 32-bit integers; divisions truncate toward zero.
#include "gui/TRect.h"

#include <cstdint>

namespace kv {

void SwapInts(std::int32_t& A, std::int32_t& B);
// The bounds are put in order first, so (V, 10, 0) and (V, 0, 10) mean the same range.
bool ValueInRange(std::int32_t V, std::int32_t A, std::int32_t B);
std::int32_t ClampValue(std::int32_t V, std::int32_t A, std::int32_t B);
// Truncating signed division; the remainder has the dividend's sign. Raises EDivByZero for 0.
void DivMod(std::int32_t Dividend, std::int32_t Divisor, std::int32_t& Quotient, std::int32_t& Remainder);

constexpr std::int32_t RectWidth(const TRect& R) { return R.Right - R.Left; }
constexpr std::int32_t RectHeight(const TRect& R) { return R.Bottom - R.Top; }
constexpr std::int32_t RectHalfHeight(const TRect& R) { return RectHeight(R) / 2; }
constexpr TPoint PointDelta(const TPoint& A, const TPoint& B) { return {A.X - B.X, A.Y - B.Y}; }

// Grows R by DX and DY in total, the odd pixel going to the right or bottom; negative values
// shrink it the same way. Always returns true.
bool GrowRect(TRect& R, std::int32_t DX, std::int32_t DY);
// A copy of R moved out by DX on the left and right and by DY on the top and bottom.
TRect InflatedRect(const TRect& R, std::int32_t DX, std::int32_t DY);
// True when one of A's four corners lies in B (right and bottom edges excluded).
bool AnyCornerInRect(const TRect& A, const TRect& B);
inline bool NoCornerInRect(const TRect& A, const TRect& B) { return !AnyCornerInRect(A, B); }
// The rubber band between two points, limited to Bounds.
TRect BandRect(const TPoint& P1, const TPoint& P2, const TRect& Bounds);

// The line through P1 and P2 along its major axis: Axis 1 gives y = K*x + Off, Axis 2 gives
// x = K*y + Off, Axis 0 means P1 = P2 (K and Off 0).
void LineCoefficients(const TPoint& P1, const TPoint& P2, double& K, std::uint8_t& Axis, double& Off);
// True when P lies within the segment's span on its major axis and at most Tolerance pixels
// from the line on the other; false for a segment of one point.
bool PointNearSegment(const TPoint& P, const TPoint& A, const TPoint& B, std::int32_t Tolerance);

} // namespace kv
