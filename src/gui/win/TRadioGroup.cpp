#include "gui/win/TRadioGroup.h"

#include "gui/win/TApplication.h"

namespace kv {

void TRadioButton::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

bool TRadioButton::Checked() const
{
    if (!HandleAllocated()) return FChecked;
    return SendMessageW(const_cast<TRadioButton*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool Value)
{
    FChecked = Value;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"BUTTON";
    Params.Style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
    Params.Caption = Utf8ToWide(FCaption);
}

void TRadioButton::HandleCreated() { SetChecked(FChecked); }

LRESULT TRadioButton::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED && OnClick) OnClick(this);
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

void TRadioGroup::AddItem(const std::string& Caption)
{
    auto* button = new TRadioButton(this);
    button->SetCaption(Caption);
    // One row of 20 pixels per item below the caption.
    button->SetBounds(8, 18 + 20 * Count(), Width() - 16, 17);
    button->SetParent(this);
    FButtons.push_back(button);
}

int TRadioGroup::ItemIndex() const
{
    for (int i = 0; i < Count(); ++i)
        if (FButtons[static_cast<std::size_t>(i)]->Checked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int Index)
{
    for (int i = 0; i < Count(); ++i) FButtons[static_cast<std::size_t>(i)]->SetChecked(i == Index);
}

} // namespace kv
