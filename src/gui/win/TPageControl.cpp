#include "gui/win/TPageControl.h"

#include "gui/win/TApplication.h"

#include <commctrl.h>

namespace kv {

TTabSheet* TPageControl::AddPage(const std::string& Name, const std::string& Caption)
{
    auto* page = new TTabSheet(Owner() ? Owner() : this);
    page->SetName(Name);
    page->SetCaption(Caption);
    page->SetVisible(FPages.empty() || FActive == static_cast<int>(FPages.size()));
    FPages.push_back(page);
    page->SetParent(this);
    if (HandleAllocated()) {
        UpdateCaptions();
        PlacePages();
    }
    return page;
}

void TPageControl::SetActivePageIndex(int Index)
{
    if (Index < 0 || Index >= PageCount()) return;
    FActive = Index;
    if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
    for (int i = 0; i < PageCount(); ++i) FPages[static_cast<std::size_t>(i)]->SetVisible(i == FActive);
}

void TPageControl::UpdateCaptions()
{
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < FPages.size(); ++i) {
        std::wstring text = Utf8ToWide(FPages[i]->Caption());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(FActive), 0);
}

void TPageControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    InitCommonControlClasses();
    Params.WindowClass = WC_TABCONTROLW;
    Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TPageControl::HandleCreated()
{
    UpdateCaptions();
    PlacePages();
}

void TPageControl::Resize()
{
    TWinControl::Resize();
    if (HandleAllocated()) PlacePages();
}

void TPageControl::PlacePages()
{
    RECT r{0, 0, Width(), Height()};
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (TTabSheet* page : FPages) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

LRESULT TPageControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_NOTIFY) {
        if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE))
            SetActivePageIndex(static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
