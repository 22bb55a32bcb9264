#pragma once
// Points and rectangles in integer pixels. Right and Bottom are exclusive, as in the platform's
// rectangle functions.
#include <cstdint>

namespace kv {

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(std::int32_t X, std::int32_t Y) { return {X, Y}; }
constexpr TRect Rect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom)
{
    return {Left, Top, Right, Bottom};
}

// Empty when it has no width or no height.
constexpr bool IsRectEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }
// Right and bottom edges excluded.
constexpr bool PtInRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
// The common part of A and B; returns false (and an empty rectangle) when they do not meet.
bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B);
constexpr TRect OffsetRect(const TRect& R, std::int32_t DX, std::int32_t DY)
{
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

} // namespace kv
