#include "gui/win/TScrollBar.h"

#include <algorithm>

namespace kv {

void TScrollBar::SetRange(std::int32_t AMin, std::int32_t AMax)
{
    AMax = std::max(AMin, AMax);
    if (AMin == FMin && AMax == FMax) return;
    FMin = AMin;
    FMax = AMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    UpdateWindow();
}

void TScrollBar::SetPosition(std::int32_t Value)
{
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition) return;
    FPosition = Value;
    UpdateWindow();
}

void TScrollBar::UpdateWindow()
{
    if (!HandleAllocated()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPos = FPosition;
    // Drawn with the next paint, not now: drawing at once holds up whoever changed the position
    // (the player's tick, when the piano roll turns a page) for as long as the drawing takes.
    SetScrollInfo(Handle(), SB_CTL, &info, FALSE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"SCROLLBAR";
    Params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() { UpdateWindow(); }

void TScrollBar::Scrolled(WORD Code)
{
    std::int32_t position = FPosition;
    switch (Code) {
    case SB_LINEUP: position -= FSmallChange; break;
    case SB_LINEDOWN: position += FSmallChange; break;
    case SB_PAGEUP: position -= FLargeChange; break;
    case SB_PAGEDOWN: position += FLargeChange; break;
    case SB_TOP: position = FMin; break;
    case SB_BOTTOM: position = FMax; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        // The 32-bit track position; the message carries only 16 bits.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_CTL, &info);
        position = info.nTrackPos;
        break;
    }
    default: return;
    }
    position = std::clamp(position, FMin, FMax);
    if (position != FPosition) {
        FPosition = position;
        UpdateWindow();
    }
    if (OnScroll) OnScroll(this, FPosition);
}

LRESULT TScrollBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_HSCROLL || Msg == ReflectedMessage + WM_VSCROLL) {
        Scrolled(LOWORD(wParam));
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
