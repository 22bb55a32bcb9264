#include "gui/win/TToolBar.h"

#include "gui/win/FontHandle.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

namespace {

constexpr int FirstCommand = 100;
constexpr int SeparatorWidth = 8;
// Room a button keeps beside its caption, and the part of a button its drop-down arrow takes.
constexpr int CaptionMargin = 8;
constexpr int DropDownArrowWidth = 11;

} // namespace

void TToolBar::SetButtonSize(std::int32_t Width, std::int32_t Height)
{
    FButtonWidth = Width;
    FButtonHeight = Height;
    if (HandleAllocated()) SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Width, Height));
}

void TToolBar::AddButton(TAction* Action, TPopupMenu* DropDown)
{
    FButtons.push_back({Action, DropDown, {}});
    const std::size_t index = FButtons.size() - 1;
    Action->AddChangeListener([this, index] { UpdateButton(index); });
    if (HandleAllocated()) InsertButton(index);
}

void TToolBar::AddSeparator()
{
    FButtons.push_back({});
    if (HandleAllocated()) InsertButton(FButtons.size() - 1);
}

void TToolBar::SetButtonCaptions(int Index, std::vector<std::string> Captions)
{
    if (Index < 0 || Index >= ButtonCount()) return;
    FButtons[static_cast<std::size_t>(Index)].Captions = std::move(Captions);
    FitButton(static_cast<std::size_t>(Index));
}

void TToolBar::FitButton(std::size_t Index)
{
    if (!HandleAllocated() || Index >= FButtons.size() || !FButtons[Index].Action) return;
    const TButton& button = FButtons[Index];
    std::int32_t width = std::max(FButtonWidth, kv::TextWidth(Handle(), button.Action->Caption()) + CaptionMargin);
    for (const std::string& caption : button.Captions) width = std::max(width, kv::TextWidth(Handle(), caption) + CaptionMargin);
    if (button.DropDown) width += DropDownArrowWidth;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    if (SendMessageW(Handle(), TB_GETBUTTONINFOW, FirstCommand + Index, reinterpret_cast<LPARAM>(&info)) < 0 || info.cx == width)
        return;
    info.cx = static_cast<WORD>(width);
    SendMessageW(Handle(), TB_SETBUTTONINFOW, FirstCommand + Index, reinterpret_cast<LPARAM>(&info));
}

void TToolBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    InitCommonControlClasses();
    Params.WindowClass = TOOLBARCLASSNAMEW;
    Params.Style |= TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | (ShowHint() ? TBSTYLE_TOOLTIPS : 0);
}

void TToolBar::HandleCreated()
{
    HWND wnd = Handle();
    SendMessageW(wnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(wnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (FImages) {
        SendMessageW(wnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
        SendMessageW(wnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(FImages->Width(), FImages->Height()));
    } else {
        SendMessageW(wnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    }
    SendMessageW(wnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
    for (std::size_t i = 0; i < FButtons.size(); ++i) InsertButton(i);
}

void TToolBar::InsertButton(std::size_t Index)
{
    const TButton& button = FButtons[Index];
    TBBUTTON tb{};
    std::wstring text;
    tb.iBitmap = I_IMAGENONE;
    tb.idCommand = FirstCommand + static_cast<int>(Index);
    if (!button.Action) {
        tb.fsStyle = BTNS_SEP;
        tb.iBitmap = SeparatorWidth;
    } else {
        text = Utf8ToWide(button.Action->Caption());
        if (FImages && button.Action->ImageIndex() >= 0) tb.iBitmap = button.Action->ImageIndex();
        tb.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (button.DropDown ? BTNS_DROPDOWN : 0));
        tb.fsState = static_cast<BYTE>((button.Action->Enabled() ? TBSTATE_ENABLED : 0) |
                                       (button.Action->Checked() ? TBSTATE_CHECKED : 0));
        tb.iString = reinterpret_cast<INT_PTR>(text.c_str());
    }
    SendMessageW(Handle(), TB_INSERTBUTTONW, Index, reinterpret_cast<LPARAM>(&tb));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
    FitButton(Index);
}

void TToolBar::UpdateButton(std::size_t Index)
{
    if (!HandleAllocated() || Index >= FButtons.size() || !FButtons[Index].Action) return;
    const TAction* action = FButtons[Index].Action;
    const std::wstring text = Utf8ToWide(action->Caption());
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_STATE | TBIF_IMAGE;
    info.iImage = FImages && action->ImageIndex() >= 0 ? action->ImageIndex() : I_IMAGENONE;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    info.fsState = static_cast<BYTE>((action->Enabled() ? TBSTATE_ENABLED : 0) | (action->Checked() ? TBSTATE_CHECKED : 0));
    SendMessageW(Handle(), TB_SETBUTTONINFOW, FirstCommand + Index, reinterpret_cast<LPARAM>(&info));
    FitButton(Index);
}

TRect TToolBar::ButtonRect(int Index)
{
    RECT r{};
    SendMessageW(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return {r.left, r.top, r.right, r.bottom};
}

std::string TToolBar::ButtonHint(int Index) const
{
    if (Index < 0 || Index >= ButtonCount()) return {};
    const TAction* action = FButtons[static_cast<std::size_t>(Index)].Action;
    return action ? action->Hint() : std::string();
}

std::int32_t TToolBar::ButtonsWidth() { return FButtons.empty() ? 0 : ButtonRect(ButtonCount() - 1).Right; }

LRESULT TToolBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_COMMAND) {
        // The bar's buttons report to the bar's parent, which passes the command back here.
        const int index = LOWORD(wParam) - FirstCommand;
        if (index >= 0 && index < ButtonCount() && FButtons[static_cast<std::size_t>(index)].Action)
            FButtons[static_cast<std::size_t>(index)].Action->Execute();
        return 0;
    }
    if (Msg == ReflectedMessage + WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TBN_GETINFOTIPW) {
            auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(lParam);
            FTipText = Utf8ToWide(ButtonHint(tip->iItem - FirstCommand));
            if (tip->pszText && tip->cchTextMax > 0) lstrcpynW(tip->pszText, FTipText.c_str(), tip->cchTextMax);
            return 0;
        }
        if (header->code == TBN_DROPDOWN) {
            const auto* tb = reinterpret_cast<const NMTOOLBARW*>(lParam);
            const int index = tb->iItem - FirstCommand;
            if (index >= 0 && index < ButtonCount() && FButtons[static_cast<std::size_t>(index)].DropDown) {
                const TRect r = ButtonRect(index);
                const TPoint below = ClientToScreen({r.Left, r.Bottom});
                FButtons[static_cast<std::size_t>(index)].DropDown->Popup(Handle(), below.X, below.Y);
            }
            return TBDDRET_DEFAULT;
        }
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
