#include "gui/win/TGroupBox.h"

#include "gui/win/TApplication.h"

namespace kv {

void TGroupBox::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

void TGroupBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"BUTTON";
    Params.Style |= BS_GROUPBOX;
    Params.Caption = Utf8ToWide(FCaption);
}

LRESULT TGroupBox::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_ERASEBKGND) return EraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
