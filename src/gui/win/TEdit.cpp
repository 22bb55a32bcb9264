#include "gui/win/TEdit.h"

#include "gui/win/TApplication.h"

namespace kv {

std::string WindowText(HWND Wnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Wnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Wnd, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

std::string TEdit::Text() const
{
    if (!HandleAllocated()) return FText;
    return WindowText(const_cast<TEdit*>(this)->Handle());
}

void TEdit::SetText(const std::string& Value)
{
    FText = Value;
    if (!HandleAllocated()) return;
    // A text set by the program is no change of the user's.
    FSettingText = true;
    SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
    FSettingText = false;
}

void TEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

void TEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"EDIT";
    Params.Style |= ES_AUTOHSCROLL | WS_TABSTOP | (FReadOnly ? ES_READONLY : 0);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.Caption = Utf8ToWide(FText);
}

LRESULT TEdit::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == EN_CHANGE && !FSettingText && OnChange) OnChange(this);
        return 0;
    }
    // A read-only edit asks as a static does.
    if ((Msg == ReflectedMessage + WM_CTLCOLOREDIT || Msg == ReflectedMessage + WM_CTLCOLORSTATIC) &&
        Color() != clBtnFace)
        return FBrush.Answer(reinterpret_cast<HDC>(wParam), Color());
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
