#include "gui/win/TCheckBox.h"

#include "gui/win/TApplication.h"

namespace kv {

void TCheckBox::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

void TCheckBox::SetChecked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCheckBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"BUTTON";
    Params.Style |= BS_AUTOCHECKBOX;
    Params.Caption = Utf8ToWide(FCaption);
}

void TCheckBox::HandleCreated()
{
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT TCheckBox::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // The button has toggled itself already.
        const bool checked = SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != FChecked) {
            FChecked = checked;
            Click();
        }
        return 0;
    }
    if ((Msg == ReflectedMessage + WM_CTLCOLORBTN || Msg == ReflectedMessage + WM_CTLCOLORSTATIC) &&
        Color() != clBtnFace) {
        return FBrush.Answer(reinterpret_cast<HDC>(wParam), Color());
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
