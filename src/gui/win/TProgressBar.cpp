#include "gui/win/TProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

void TProgressBar::SetRange(std::int32_t AMin, std::int32_t AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    ShowPosition();
}

void TProgressBar::SetPosition(std::int32_t Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    // A song's position changes with every tick, its bar only every few seconds.
    if (FilledWidth(FPosition) != FilledWidth(FShownPosition)) ShowPosition();
}

std::int64_t TProgressBar::FilledWidth(std::int32_t Value) const
{
    if (FMax == FMin) return 0;
    return (std::int64_t{Value} - FMin) * ClientWidth() / (std::int64_t{FMax} - FMin);
}

void TProgressBar::ShowPosition()
{
    FShownPosition = FPosition;
    if (!HandleAllocated()) return;
    const auto give = [this] { SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0); };
    // Turning drawing back on shows the window: a hidden bar is given the position as it is.
    if (!IsWindowVisible(Handle())) {
        give();
        return;
    }
    // Some systems' bars draw a new position at once, before returning; for a song's position,
    // changed from the player's tick, that holds the tick up. Drawn with the next paint instead.
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    give();
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TProgressBar::BoundsChanged()
{
    TWinControl::BoundsChanged();
    ShowPosition();
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    InitCommonControlClasses();
    Params.WindowClass = PROGRESS_CLASSW;
}

void TProgressBar::HandleCreated()
{
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    FShownPosition = FPosition;
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

LRESULT TProgressBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && Cursor() != crDefault) {
        ::SetCursor(CursorHandle(Cursor()));
        return TRUE;
    }
    if (Msg == WM_LBUTTONDOWN) MouseDown(mbLeft, MouseShiftState(wParam) | ssLeft, static_cast<short>(LOWORD(lParam)),
                                         static_cast<short>(HIWORD(lParam)));
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
