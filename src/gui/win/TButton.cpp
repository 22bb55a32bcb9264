#include "gui/win/TButton.h"

#include "gui/win/TApplication.h"

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
    Params.Style |= BS_PUSHBUTTON;
    Params.Caption = Utf8ToWide(FCaption);
}

LRESULT TButton::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED) Click();
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
