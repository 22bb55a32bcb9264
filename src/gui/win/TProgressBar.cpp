#include "gui/win/TProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

void TProgressBar::SetRange(std::int32_t AMin, std::int32_t AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SetPosition(FPosition);
}

void TProgressBar::SetPosition(std::int32_t Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
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
