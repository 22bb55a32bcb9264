#include "gui/win/TLabel.h"

#include "gui/win/TApplication.h"

namespace kv {

TLabel::TLabel(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 65, 13); }

void TLabel::SetCaption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

void TLabel::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"STATIC";
    Params.Style |= SS_NOPREFIX | SS_NOTIFY |
                    (FAlignment == taRightJustify ? SS_RIGHT
                     : FAlignment == taCenter     ? SS_CENTER
                     : FWordWrap                  ? SS_LEFT
                                                  : SS_LEFTNOWORDWRAP);
    Params.Caption = Utf8ToWide(FCaption);
}

LRESULT TLabel::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_CTLCOLORSTATIC) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        return FBrush.Answer(dc, Color());
    }
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == STN_CLICKED) Click();
        if (HIWORD(wParam) == STN_DBLCLK) DblClick();
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
