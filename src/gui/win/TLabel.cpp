#include "gui/win/TLabel.h"

#include "gui/win/FontHandle.h"
#include "gui/win/TApplication.h"

namespace kv {

TLabel::TLabel(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 65, 13); }

void TLabel::SetCaption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    if (!HandleAllocated()) return;
    // A static control keeps its text as the window's text and draws that. Some systems' static
    // controls draw a new text at once, before returning: stored past the control and drawn with the
    // next paint instead, a read-out changed with every tick of a playing song does not hold the tick up.
    const std::wstring text = Utf8ToWide(Value);
    DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(Handle(), nullptr, TRUE);
    FitToText();
}

std::int32_t TLabel::TextWidth()
{
    return HandleAllocated() ? kv::TextWidth(Handle(), FCaption) : kv::TextWidth(Font(), FCaption);
}

void TLabel::FitToText()
{
    // A label that breaks its text into lines keeps its box.
    if (FWordWrap || FCaption.empty()) return;
    const std::int32_t grow = TextWidth() - Width();
    if (grow <= 0) return;
    const std::int32_t left = FAlignment == taRightJustify ? Left() - grow : FAlignment == taCenter ? Left() - grow / 2 : Left();
    SetBounds(left, Top(), Width() + grow, Height());
    // Grown over a neighbour's box, the label paints above it: its text is not cut.
    if (HandleAllocated()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
