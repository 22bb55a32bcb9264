#include "gui/win/TSpeedButton.h"

#include "gui/win/TApplication.h"

namespace kv {

void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Font().Assign(Font());
    RECT r{0, 0, Width(), Height()};
    canvas.FillRect(ClientRect());
    HDC dc = canvas.Handle();
    if (FDown) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    else if (!FFlat) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring caption = Utf8ToWide(FCaption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::SetDown(bool Value)
{
    if (FDown == Value) return;
    FDown = Value;
    Invalidate();
    if (!Value || FGroupIndex == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetDown(false);
    }
}

void TSpeedButton::Click()
{
    if (FGroupIndex != 0) SetDown(true);
    TCustomControl::Click();
}

} // namespace kv
