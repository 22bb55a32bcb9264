#include "gui/TRect.h"

#include <algorithm>

namespace kv {

bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B)
{
    TRect common{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
    if (IsRectEmpty(common)) {
        Dest = TRect{};
        return false;
    }
    Dest = common;
    return true;
}

} // namespace kv
