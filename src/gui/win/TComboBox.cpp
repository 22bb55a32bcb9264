#include "gui/win/TComboBox.h"

#include "gui/win/TApplication.h"

namespace kv {

void TComboBox::AddItem(const std::string& Text, std::intptr_t Value)
{
    FItems.push_back({Text, Value});
    if (HandleAllocated()) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(Text).c_str()));
}

void TComboBox::Clear()
{
    FItems.clear();
    FItemIndex = -1;
    if (HandleAllocated()) SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

void TComboBox::SetItemTexts(const std::vector<std::string>& Texts)
{
    const int selected = ItemIndex();
    for (std::size_t i = 0; i < FItems.size() && i < Texts.size(); ++i) FItems[i].Text = Texts[i];
    if (HandleAllocated()) FillWindow();
    SetItemIndex(selected);
}

int TComboBox::ItemIndex()
{
    if (HandleAllocated()) FItemIndex = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TComboBox::SetItemIndex(int Index)
{
    FItemIndex = Index >= 0 && Index < Count() ? Index : -1;
    if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"COMBOBOX";
    Params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
}

void TComboBox::FillWindow()
{
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const TItem& item : FItems) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item.Text).c_str()));
}

void TComboBox::HandleCreated()
{
    // The drop-down list's height comes from the window's: room for a screenful of items.
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FillWindow();
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

LRESULT TComboBox::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            FItemIndex = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
            if (OnChange) OnChange(this);
        }
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
