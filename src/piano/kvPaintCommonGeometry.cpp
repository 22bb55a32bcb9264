#include "piano/kvPaintCommonGeometry.h"

#include "base/Exceptions.h"
#include "base/Rounding.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kv {

void SwapInts(std::int32_t& A, std::int32_t& B) { std::swap(A, B); }

bool ValueInRange(std::int32_t V, std::int32_t A, std::int32_t B)
{
    if (A > B) SwapInts(A, B);
    return A <= V && V <= B;
}

std::int32_t ClampValue(std::int32_t V, std::int32_t A, std::int32_t B)
{
    if (A > B) SwapInts(A, B);
    if (V < A) return A;
    if (V > B) return B;
    return V;
}

void DivMod(std::int32_t Dividend, std::int32_t Divisor, std::int32_t& Quotient, std::int32_t& Remainder)
{
    // int64 keeps INT32_MIN / -1 defined; its quotient wraps as on the 32-bit machine.
    const std::int64_t q = CheckedDiv<std::int64_t>(Dividend, Divisor);
    Quotient = static_cast<std::int32_t>(static_cast<std::uint32_t>(q));
    Remainder = static_cast<std::int32_t>(static_cast<std::int64_t>(Dividend) - q * Divisor);
}

bool GrowRect(TRect& R, std::int32_t DX, std::int32_t DY)
{
    std::int32_t q = 0, r = 0;
    DivMod(DX, 2, q, r);
    R.Left -= q;
    R.Right += q + r;
    DivMod(DY, 2, q, r);
    R.Top -= q;
    R.Bottom += q + r;
    return true;
}

TRect InflatedRect(const TRect& R, std::int32_t DX, std::int32_t DY)
{
    return {R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY};
}

bool AnyCornerInRect(const TRect& A, const TRect& B)
{
    return PtInRect(B, {A.Left, A.Top}) || PtInRect(B, {A.Right, A.Top}) || PtInRect(B, {A.Right, A.Bottom}) ||
           PtInRect(B, {A.Left, A.Bottom});
}

TRect BandRect(const TPoint& P1, const TPoint& P2, const TRect& Bounds)
{
    return {std::max(std::min(P1.X, P2.X), Bounds.Left), std::max(std::min(P1.Y, P2.Y), Bounds.Top),
            std::min(std::max(P1.X, P2.X), Bounds.Right), std::min(std::max(P1.Y, P2.Y), Bounds.Bottom)};
}

void LineCoefficients(const TPoint& P1, const TPoint& P2, double& K, std::uint8_t& Axis, double& Off)
{
    const double dx = static_cast<double>(P2.X) - P1.X;
    const double dy = static_cast<double>(P2.Y) - P1.Y;
    K = 0;
    Off = 0;
    if (dx == 0 && dy == 0) {
        Axis = 0;
    } else if (std::abs(dx) >= std::abs(dy)) {
        Axis = 1;
        K = dy / dx;
        Off = P1.Y - P1.X * K;
    } else {
        Axis = 2;
        K = dx / dy;
        Off = P1.X - P1.Y * K;
    }
}

bool PointNearSegment(const TPoint& P, const TPoint& A, const TPoint& B, std::int32_t Tolerance)
{
    double k = 0, off = 0;
    std::uint8_t axis = 0;
    LineCoefficients(A, B, k, axis, off);
    if (axis == 0) return false;
    // Along the major axis the point must lie within the span; across it, near the line.
    const std::int32_t along = axis == 1 ? P.X : P.Y;
    const std::int32_t across = axis == 1 ? P.Y : P.X;
    const std::int32_t from = axis == 1 ? A.X : A.Y;
    const std::int32_t to = axis == 1 ? B.X : B.Y;
    if (along < std::min(from, to) || along > std::max(from, to)) return false;
    const std::int64_t onLine = Round(along * k + off);
    return std::llabs(onLine - across) <= Tolerance;
}

} // namespace kv
