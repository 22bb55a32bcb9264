#pragma once
// An image button's picture is a horizontal strip of frames of the button's width: normal,
// pressed, disabled, hover and focused; the last two are optional.
#include <cstdint>

struct ImageButtonDraw {
    // Left edge of the frame in the strip.
    std::int32_t sourceX = 0;
    // A focused button whose strip has no focus frame gets a focus rectangle around its text.
    bool focusRectangle = false;
};

struct ImageButtonState {
    bool pressed = false, disabled = false, hover = false, focused = false;
};

// The frame to copy for that state. A strip too narrow for the frame of a state shows the normal
// frame instead, so that nothing is copied from outside the bitmap.
ImageButtonDraw imageButtonFrame(std::int32_t frameWidth, std::int32_t stripWidth, const ImageButtonState& state);
