#include "gui/win/TButton.h"

#include "gui/win/TApplication.h"

#include <windowsx.h>

namespace kv {

void TButton::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

void TButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"BUTTON";
    Params.Style |= BS_PUSHBUTTON | (FWordWrap ? BS_MULTILINE : 0);
    Params.Caption = Utf8ToWide(FCaption);
}

LRESULT TButton::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED) Click();
        return 0;
    }
    // The system button handles the mouse; OnMouseDown and OnMouseUp are raised on the way.
    const std::int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK) MouseDown(mbLeft, MouseShiftState(wParam) | ssLeft, x, y);
    if (Msg == WM_LBUTTONUP) MouseUp(mbLeft, MouseShiftState(wParam), x, y);
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
