#include "gui/win/TTrackBar.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

namespace {

void RegisterBarClasses()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
}

} // namespace

void TTrackBar::SetRange(std::int32_t AMin, std::int32_t AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (HandleAllocated()) {
        SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, FMin);
        SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, FMax);
    }
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(std::int32_t Value)
{
    Value = std::clamp(Value, FMin, FMax);
    if (HandleAllocated() && SendMessageW(Handle(), TBM_GETPOS, 0, 0) != Value)
        SendMessageW(Handle(), TBM_SETPOS, TRUE, Value);
    PositionMoved(Value);
}

void TTrackBar::SetPageSize(std::int32_t Value)
{
    FPageSize = Value;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetFrequency(std::int32_t Value)
{
    FFrequency = Value;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetThumbLength(std::int32_t Value)
{
    FThumbLength = Value;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::PositionMoved(std::int32_t Value)
{
    if (Value == FPosition) return;
    FPosition = Value;
    if (OnChange) OnChange(this);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    RegisterBarClasses();
    TWinControl::CreateParams(Params);
    Params.WindowClass = TRACKBAR_CLASSW;
    Params.Style |= TBS_FIXEDLENGTH | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
    if (FTicksBoth) Params.Style |= TBS_BOTH;
    if (FNoTicks) Params.Style |= TBS_NOTICKS;
}

void TTrackBar::HandleCreated()
{
    HWND wnd = Handle();
    SendMessageW(wnd, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
    SendMessageW(wnd, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(wnd, TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageW(wnd, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageW(wnd, TBM_SETPAGESIZE, 0, FPageSize);
    SendMessageW(wnd, TBM_SETPOS, TRUE, FPosition);
}

LRESULT TTrackBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_HSCROLL || Msg == ReflectedMessage + WM_VSCROLL) {
        PositionMoved(static_cast<std::int32_t>(SendMessageW(Handle(), TBM_GETPOS, 0, 0)));
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
