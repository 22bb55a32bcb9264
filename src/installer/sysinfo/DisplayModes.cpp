#include "installer/sysinfo/DisplayModes.h"

void DisplayModeSummary::add(const DisplayMode& mode)
{
    if (mode.width > largest_.width || mode.height > largest_.height) {
        largest_ = mode;
    } else if ((mode.width == largest_.width || mode.height == largest_.height) && mode.bits > largest_.bits) {
        largest_.bits = mode.bits;
    }
    if (mode.width >= required_.width && mode.height >= required_.height && mode.bits >= required_.bits)
        met_ = true;
}
