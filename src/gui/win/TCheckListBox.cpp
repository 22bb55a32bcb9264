#include "gui/win/TCheckListBox.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"
#include "gui/win/TApplication.h"

#include <windowsx.h>

#include <cstdlib>

namespace kv {

std::size_t TCheckListBox::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(Format(ResStr("List index out of bounds (%d)"), {Index}));
    return static_cast<std::size_t>(Index);
}

const std::string& TCheckListBox::Items(int Index) const { return FItems[CheckIndex(Index)].Text; }

bool TCheckListBox::Checked(int Index) const { return FItems[CheckIndex(Index)].Checked; }

void TCheckListBox::AddItem(const std::string& Text, bool Checked)
{
    FItems.push_back({Text, Checked});
    if (HandleAllocated()) SendMessageW(Handle(), LB_ADDSTRING, 0, 0);
}

void TCheckListBox::Clear()
{
    FItems.clear();
    FItemIndex = -1;
    if (HandleAllocated()) SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

void TCheckListBox::SetChecked(int Index, bool Value)
{
    FItems[CheckIndex(Index)].Checked = Value;
    InvalidateItem(Index);
}

int TCheckListBox::ItemIndex()
{
    if (!HandleAllocated()) return FItemIndex;
    return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TCheckListBox::SetItemIndex(int Index)
{
    FItemIndex = Index >= 0 && Index < Count() ? Index : -1;
    if (HandleAllocated()) SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

TRect TCheckListBox::ItemRect(int Index)
{
    RECT r{};
    if (Index < 0 || Index >= Count() || SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index),
                                                      reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return {0, 0, 0, 0};
    return {r.left, r.top, r.right, r.bottom};
}

void TCheckListBox::Toggle(int Index)
{
    TItem& item = FItems[CheckIndex(Index)];
    item.Checked = !item.Checked;
    InvalidateItem(Index);
    if (OnClickCheck) OnClickCheck(this, Index);
}

void TCheckListBox::InvalidateItem(int Index)
{
    if (!HandleAllocated()) return;
    RECT r{};
    if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(Handle(), &r, FALSE);
}

void TCheckListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"LISTBOX";
    Params.Style |= LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCheckListBox::HandleCreated()
{
    HWND wnd = Handle();
    SendMessageW(wnd, LB_SETITEMHEIGHT, 0, ItemHeight);
    for (std::size_t i = 0; i < FItems.size(); ++i) SendMessageW(wnd, LB_ADDSTRING, 0, 0);
    SendMessageW(wnd, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& Item)
{
    if (Item.itemID == static_cast<UINT>(-1) || Item.itemID >= FItems.size()) {
        if (Item.itemState & ODS_FOCUS) DrawFocusRect(Item.hDC, &Item.rcItem);
        return;
    }
    const TItem& item = FItems[Item.itemID];
    const bool selected = (Item.itemState & ODS_SELECTED) != 0;
    FillRect(Item.hDC, &Item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    RECT box{Item.rcItem.left + 2, Item.rcItem.top + (ItemHeight - 13) / 2, Item.rcItem.left + 15,
             Item.rcItem.top + (ItemHeight - 13) / 2 + 13};
    DrawFrameControl(Item.hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (item.Checked ? DFCS_CHECKED : 0u));
    RECT text = Item.rcItem;
    text.left += CheckAreaWidth;
    FillRect(Item.hDC, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int oldMode = SetBkMode(Item.hDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(Item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = SelectObject(Item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    text.left += 2;
    const std::wstring wide = Utf8ToWide(item.Text);
    DrawTextW(Item.hDC, wide.c_str(), static_cast<int>(wide.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(Item.hDC, oldFont);
    SetTextColor(Item.hDC, oldColor);
    SetBkMode(Item.hDC, oldMode);
    if (Item.itemState & ODS_FOCUS) {
        text.left -= 2;
        DrawFocusRect(Item.hDC, &text);
    }
}

POINT TCheckListBox::ScreenPoint(LPARAM lParam)
{
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(Handle(), &p);
    return p;
}

bool TCheckListBox::TrackDrag(WPARAM wParam, std::int32_t X, std::int32_t Y)
{
    if (FDragging) return true;
    if (!FDragPending) return false;
    if (!(wParam & MK_LBUTTON)) {
        FDragPending = false;
        return false;
    }
    if (std::abs(X - FDragStart.x) < GetSystemMetrics(SM_CXDRAG) && std::abs(Y - FDragStart.y) < GetSystemMetrics(SM_CYDRAG))
        return false;
    FDragPending = false;
    FDragging = true;
    // The list box took the capture when the button went down; the drag keeps it to the drop.
    SetCapture(Handle());
    return true;
}

LRESULT TCheckListBox::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case ReflectedMessage + WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = TWinControl::WndProc(Msg, wParam, lParam);
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const auto hit = static_cast<DWORD>(SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
        const int index = LOWORD(hit);
        const bool onItem = HIWORD(hit) == 0 && index < Count();
        if (onItem && x >= 0 && x < CheckAreaWidth) {
            Toggle(index);
        } else if (onItem && Msg == WM_LBUTTONDOWN && DragMode() == dmAutomatic) {
            FDragPending = true;
            FDragStart = {x, y};
        }
        return result;
    }
    case WM_MOUSEMOVE:
        if (TrackDrag(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            ::SetCursor(CursorHandle(DragAcceptedAt(this, ScreenPoint(lParam)) ? crArrow : crNoDrop));
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        const bool dropping = FDragging;
        FDragPending = FDragging = false;
        // The list box ends its own mouse tracking (and releases the capture) first.
        const LRESULT result = TWinControl::WndProc(Msg, wParam, lParam);
        if (dropping) DropAt(this, ScreenPoint(lParam));
        return result;
    }
    case WM_CAPTURECHANGED:
        if (FDragging && reinterpret_cast<HWND>(lParam) != Handle()) FDragPending = FDragging = false;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            const auto caret = static_cast<int>(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0));
            if (caret >= 0 && caret < Count()) Toggle(caret);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ') return 0;
        break;
    default:
        break;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
