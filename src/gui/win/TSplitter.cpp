#include "gui/win/TSplitter.h"

#include <algorithm>

namespace kv {

TSplitter::TSplitter(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, DefaultWidth, 100);
    SetCursor(crHSplit);
}

void TSplitter::Paint()
{
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FControl) return;
    FSizing = true;
    FDownX = X;
    SetCapture(Handle());
}

void TSplitter::MouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FSizing) MoveBy(X - FDownX);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FSizing || Button != mbLeft) return;
    FSizing = false;
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TSplitter::MoveBy(std::int32_t Delta)
{
    if (!FControl || !Parent() || Delta == 0) return;
    const std::int32_t room = Parent()->ClientWidth() - FControl->Left() - Width();
    // A parent too narrow for both minimums keeps the control at its least width.
    const std::int32_t width = std::max(FMinSize, std::min(FControl->Width() + Delta, room - FMinSize));
    if (width == FControl->Width()) return;
    FControl->SetWidth(width);
    SetLeft(FControl->Left() + width);
    if (OnMoved) OnMoved(this);
}

} // namespace kv
