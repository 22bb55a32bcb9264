#pragma once
// Where a page window goes: its size grown by the system's frame, then aligned on the work area
// and kept inside it; and whether its controls cover the whole client area.
#include "installer/state/InstallerState.h"
#include "installer/wizard/TemplateParser.h"

#include <cstdint>

// The system metrics that the template's one-pixel border and 18-pixel caption stand for.
struct FrameMetrics {
    std::int32_t edgeX = 2, borderX = 1, edgeY = 2, borderY = 1, caption = 18;
};

// Grows the template's width and height to the system's frame and caption.
void fitFrameToSystem(TemplateWindow& window, const FrameMetrics& metrics);

// Replaces the window's x and y offsets by its screen position on the work area: aligned (0 to
// 8, others as 0), offset, then kept inside the area.
void placeOnWorkArea(TemplateWindow& window, const AreaRect& workArea);

// True when the controls, placed in a client area of that size, touch all four corners: the page
// then needs no background erased under them.
bool controlsCoverClientArea(const PointerList& controls, std::int32_t clientWidth, std::int32_t clientHeight);
