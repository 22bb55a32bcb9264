#include "installer/wizard/ImageButtonFrame.h"

namespace {

// The strip holds frame number index (0-based) completely.
bool holdsFrame(std::int64_t frameWidth, std::int64_t stripWidth, int index)
{
    return frameWidth > 0 && stripWidth >= frameWidth * (index + 1);
}

} // namespace

ImageButtonDraw imageButtonFrame(std::int32_t frameWidth, std::int32_t stripWidth, const ImageButtonState& state)
{
    const std::int64_t w = frameWidth;
    const std::int64_t strip = stripWidth;
    // The hover and focus frames count only with some slack beyond the frames before them.
    const bool hasHoverFrame = strip > 3 * w + 3 && holdsFrame(w, strip, 3);
    const bool hasFocusFrame = strip > 4 * w + 4 && holdsFrame(w, strip, 4);
    ImageButtonDraw draw;
    int frame = 0;
    if (state.pressed)
        frame = 1;
    else if (state.disabled)
        frame = 2;
    else if (state.hover && hasHoverFrame)
        frame = 3;
    else if (state.focused && hasFocusFrame)
        frame = 4;
    if (!holdsFrame(w, strip, frame))
        frame = 0;
    draw.sourceX = static_cast<std::int32_t>(frame * w);
    draw.focusRectangle = state.focused && !hasFocusFrame;
    return draw;
}
