#include "gui/ScreenSnap.h"

#include <cstdlib>

namespace kv {

namespace {

// The shift that brings the nearer-side edge (the low one first) onto its work-area edge.
std::int32_t SnapShift(std::int32_t Low, std::int32_t High, std::int32_t AreaLow, std::int32_t AreaHigh,
                       std::int32_t Distance)
{
    if (std::llabs(static_cast<long long>(Low) - AreaLow) <= Distance) return AreaLow - Low;
    if (std::llabs(static_cast<long long>(High) - AreaHigh) <= Distance) return AreaHigh - High;
    return 0;
}

} // namespace

TRect SnapToWorkArea(const TRect& Window, const TRect& WorkArea, std::int32_t Distance)
{
    const std::int32_t dx = SnapShift(Window.Left, Window.Right, WorkArea.Left, WorkArea.Right, Distance);
    const std::int32_t dy = SnapShift(Window.Top, Window.Bottom, WorkArea.Top, WorkArea.Bottom, Distance);
    return OffsetRect(Window, dx, dy);
}

} // namespace kv
