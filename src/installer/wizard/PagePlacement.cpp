#include "installer/wizard/PagePlacement.h"

void fitFrameToSystem(TemplateWindow& window, const FrameMetrics& metrics)
{
    const std::int32_t frameX = 2 * (metrics.edgeX + metrics.borderX);
    const std::int32_t frameY = 2 * (metrics.edgeY + metrics.borderY);
    if (frameX > 2)
        window.width += frameX - 4;
    if (frameY > 2)
        window.height += frameY - 4;
    if (metrics.caption > 18)
        window.height += metrics.caption - 18;
}

void placeOnWorkArea(TemplateWindow& window, const AreaRect& area)
{
    std::int64_t x = area.left;
    std::int64_t y = area.top;
    const std::int64_t areaWidth = std::int64_t(area.right) - area.left;
    const std::int64_t areaHeight = std::int64_t(area.bottom) - area.top;
    const std::int32_t alignment = window.alignment >= 0 && window.alignment <= 8 ? window.alignment : 0;
    switch (alignment % 3) {
    case 1: x = area.left + areaWidth / 2 - window.width / 2; break;
    case 2: x = area.right - std::int64_t(window.width); break;
    default: break;
    }
    switch (alignment / 3) {
    case 1: y = area.top + areaHeight / 2 - window.height / 2; break;
    case 2: y = area.bottom - std::int64_t(window.height); break;
    default: break;
    }
    x += window.x;
    y += window.y;
    // Kept on the work area itself, not at the screen's edge under a taskbar on the left or top.
    if (x < area.left)
        x = area.left;
    if (x > std::int64_t(area.right) - window.width)
        x = std::int64_t(area.right) - window.width;
    if (y < area.top)
        y = area.top;
    if (y > std::int64_t(area.bottom) - window.height)
        y = std::int64_t(area.bottom) - window.height;
    window.x = static_cast<std::int32_t>(x);
    window.y = static_cast<std::int32_t>(y);
}

bool controlsCoverClientArea(const PointerList& controls, std::int32_t clientWidth, std::int32_t clientHeight)
{
    bool topLeft = false, topRight = false, bottomLeft = false, bottomRight = false;
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        const auto& c = *static_cast<const TemplateControl*>(controls.get(i));
        const bool reachesRight = std::int64_t(c.x) + c.width >= clientWidth;
        const bool reachesBottom = std::int64_t(c.y) + c.height >= clientHeight;
        topLeft = topLeft || (c.x == 0 && c.y == 0);
        topRight = topRight || (c.y == 0 && reachesRight);
        bottomLeft = bottomLeft || (c.x == 0 && reachesBottom);
        bottomRight = bottomRight || (reachesRight && reachesBottom);
    }
    return topLeft && topRight && bottomLeft && bottomRight;
}
