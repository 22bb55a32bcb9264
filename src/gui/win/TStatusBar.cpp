#include "gui/win/TStatusBar.h"

#include "gui/win/TApplication.h"

#include <commctrl.h>

namespace kv {

void TStatusBar::AddPanel(std::int32_t Width, TStatusPanelStyle Style)
{
    FPanels.push_back({Width, Style, {}});
    if (HandleAllocated()) {
        UpdateParts();
        UpdatePanel(FPanels.size() - 1);
    }
}

void TStatusBar::SetPanelText(int Index, const std::string& Value)
{
    FPanels.at(static_cast<std::size_t>(Index)).Text = Value;
    if (HandleAllocated()) UpdatePanel(static_cast<std::size_t>(Index));
}

TRect TStatusBar::PanelRect(int Index)
{
    RECT r{};
    SendMessageW(Handle(), SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return {r.left, r.top, r.right, r.bottom};
}

void TStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    InitCommonControlClasses();
    Params.WindowClass = STATUSCLASSNAMEW;
    Params.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN;
}

void TStatusBar::HandleCreated()
{
    UpdateParts();
    for (std::size_t i = 0; i < FPanels.size(); ++i) UpdatePanel(i);
}

void TStatusBar::UpdateParts()
{
    std::vector<int> edges;
    int edge = 0;
    for (const TPanelItem& panel : FPanels) edges.push_back(edge += panel.Width);
    if (!edges.empty()) edges.back() = -1;
    SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::UpdatePanel(std::size_t Index)
{
    const TPanelItem& panel = FPanels[Index];
    if (panel.Style == psOwnerDraw) {
        SendMessageW(Handle(), SB_SETTEXTW, Index | SBT_OWNERDRAW, 0);
        return;
    }
    const std::wstring text = Utf8ToWide(panel.Text);
    SendMessageW(Handle(), SB_SETTEXTW, Index, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT TStatusBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == ReflectedMessage + WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (OnDrawPanel)
            OnDrawPanel(this, static_cast<int>(item->itemID),
                        {item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom});
        return TRUE;
    }
    return TWinControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
