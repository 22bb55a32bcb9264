#include "gui/win/TListView.h"

#include "gui/win/TApplication.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

namespace {

constexpr std::int32_t TitleMargin = 12;

} // namespace

void TListView::AddColumn(const std::string& Caption, std::int32_t Width)
{
    FColumns.push_back({Caption, Width});
    if (HandleAllocated()) InsertColumnWindow(ColumnCount() - 1);
}

// The default width of a column is 50 pixels; a column is never narrower than its title with the
// room the header keeps on each side of it.
std::int32_t TListView::ColumnWidthFor(const TColumn& Column, const std::wstring& Caption)
{
    const auto title = static_cast<std::int32_t>(SendMessageW(Handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Caption.c_str())));
    return std::max(Column.Width < 0 ? 50 : Column.Width, Caption.empty() ? 0 : title + TitleMargin);
}

void TListView::InsertColumnWindow(int Index)
{
    const TColumn& column = FColumns[static_cast<std::size_t>(Index)];
    std::wstring caption = Utf8ToWide(column.Caption);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = caption.data();
    lvc.cx = ColumnWidthFor(column, caption);
    lvc.iSubItem = Index;
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&lvc));
}

void TListView::SetColumnCaption(int Index, const std::string& Value)
{
    TColumn& column = FColumns.at(static_cast<std::size_t>(Index));
    column.Caption = Value;
    if (!HandleAllocated()) return;
    std::wstring caption = Utf8ToWide(Value);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH;
    lvc.pszText = caption.data();
    lvc.cx = ColumnWidthFor(column, caption);
    SendMessageW(Handle(), LVM_SETCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&lvc));
}

std::int32_t TListView::ColumnWidth(int Index)
{
    return static_cast<std::int32_t>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index), 0));
}

void TListView::SetCount(int Value)
{
    FCount = Value < 0 ? 0 : Value;
    if (!HandleAllocated()) return;
    // No rows first: the selection goes with them, without a walk over every row.
    SendMessageW(Handle(), LVM_SETITEMCOUNT, 0, 0);
    SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FCount), 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::GrowTo(int Value)
{
    if (Value <= FCount) return;
    FCount = Value;
    if (HandleAllocated())
        SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FCount), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void TListView::MakeVisible(int Index)
{
    if (HandleAllocated()) SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index), FALSE);
}

int TListView::TopIndex() { return static_cast<int>(SendMessageW(Handle(), LVM_GETTOPINDEX, 0, 0)); }

void TListView::SetTopIndex(int Index)
{
    if (FCount == 0) return;
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) || row.bottom <= row.top) return;
    // A report view scrolls by pixels, a whole row at a time.
    SendMessageW(Handle(), LVM_SCROLL, 0, (Index - TopIndex()) * (row.bottom - row.top));
}

void TListView::UpdateRow(int Index)
{
    if (HandleAllocated()) SendMessageW(Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(Index), Index);
}

int TListView::SelCount() { return static_cast<int>(SendMessageW(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)); }

int TListView::ItemIndex()
{
    return static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> TListView::SelectedRows()
{
    std::vector<int> rows;
    for (int i = ItemIndex(); i >= 0;
         i = static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
        rows.push_back(i);
    return rows;
}

void TListView::SetSelected(int Index, bool Selected)
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = Selected ? LVIS_SELECTED : 0;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
}

void TListView::SetItemIndex(int Index)
{
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (Index < 0 || Index >= FCount) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
}

void TListView::SelectAll()
{
    LVITEMW all{};
    all.stateMask = LVIS_SELECTED;
    all.state = LVIS_SELECTED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
}

std::string TListView::CellText(int Row, int Column)
{
    std::wstring buffer(512, L'\0');
    LVITEMW item{};
    item.iSubItem = Column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length = SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&item));
    buffer.resize(static_cast<std::size_t>(length));
    return WideToUtf8(buffer);
}

void TListView::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    InitCommonControlClasses();
    Params.WindowClass = WC_LISTVIEWW;
    Params.Style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP | (FShowColumnHeaders ? 0 : LVS_NOCOLUMNHEADER);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::HandleCreated()
{
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < ColumnCount(); ++i) InsertColumnWindow(i);
    SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FCount), 0);
}

LRESULT TListView::CustomDraw(LPARAM lParam)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int row = static_cast<int>(draw->nmcd.dwItemSpec);
        if (OnGetColor && row >= 0 && row < FCount) draw->clrText = OnGetColor(row);
        return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
    }
}

LRESULT TListView::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        switch (header->code) {
        case LVN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
                const int row = info->item.iItem;
                FTextBuffer = row >= 0 && row < FCount && OnGetText ? Utf8ToWide(OnGetText(row, info->item.iSubItem)) : L"";
                lstrcpynW(info->item.pszText, FTextBuffer.c_str(), info->item.cchTextMax);
            }
            return 0;
        }
        case NM_CUSTOMDRAW: return CustomDraw(lParam);
        case LVN_KEYDOWN: {
            auto key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
            KeyDown(key, KeyboardShiftState());
            return 0;
        }
        case NM_DBLCLK:
            if (OnDblClick) OnDblClick(this);
            return 0;
        case NM_RCLICK: {
            POINT p{};
            GetCursorPos(&p);
            if (OnContextPopup) OnContextPopup(p.x, p.y);
            return 0;
        }
        default: return 0;
        }
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
