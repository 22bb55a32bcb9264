#pragma once
// Where a dragged window stands when it snaps to the edges of the screen's work area: an edge
// within Distance pixels of the matching work-area edge moves onto it; the size stays.
#include "gui/TRect.h"

#include <cstdint>

namespace kv {

TRect SnapToWorkArea(const TRect& Window, const TRect& WorkArea, std::int32_t Distance);

} // namespace kv
