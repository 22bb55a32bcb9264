#pragma once
// The brush a control hands back for WM_CTLCOLOR...: a solid brush of the control's colour,
// made again only when the colour changed, freed with its owner.
#include "gui/TColor.h"

#include <windows.h>

namespace kv {

class BackgroundBrush {
public:
    BackgroundBrush() = default;
    BackgroundBrush(const BackgroundBrush&) = delete;
    BackgroundBrush& operator=(const BackgroundBrush&) = delete;
    ~BackgroundBrush()
    {
        if (FBrush) DeleteObject(FBrush);
    }

    // Sets DC's background colour to Color and returns the brush of it, as the message's answer.
    LRESULT Answer(HDC DC, TColor Color)
    {
        if (!FBrush || FColor != Color) {
            if (FBrush) DeleteObject(FBrush);
            FColor = Color;
            FBrush = CreateSolidBrush(ColorToRGB(Color));
        }
        SetBkColor(DC, ColorToRGB(Color));
        return reinterpret_cast<LRESULT>(FBrush);
    }

private:
    HBRUSH FBrush = nullptr;
    TColor FColor = clNone;
};

} // namespace kv
