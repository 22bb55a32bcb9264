#include "gui/win/TSplitter.h"

#include <algorithm>

namespace kv {

TSplitter::TSplitter(TComponent* AOwner, TSplitterOrientation Orientation)
    : TCustomControl(AOwner), FOrientation(Orientation)
{
    if (FOrientation == soVertical) {
        SetBounds(0, 0, DefaultWidth, 100);
        SetCursor(crHSplit);
    } else {
        SetBounds(0, 0, 100, DefaultWidth);
        SetCursor(crVSplit);
    }
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
    FDown = Along(X, Y);
    SetCapture(Handle());
}

void TSplitter::MouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FSizing) MoveBy(Along(X, Y) - FDown);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FSizing || Button != mbLeft) return;
    FSizing = false;
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TSplitter::Place(TControl& C, std::int32_t Start, std::int32_t Size) const
{
    if (FOrientation == soVertical)
        C.SetBounds(Start, C.Top(), Size, C.Height());
    else
        C.SetBounds(C.Left(), Start, C.Width(), Size);
}

void TSplitter::MoveBy(std::int32_t Delta)
{
    if (!FControl || !Parent() || Delta == 0) return;
    const std::int32_t parentSize = FOrientation == soVertical ? Parent()->ClientWidth() : Parent()->ClientHeight();
    const std::int32_t farEdge = FNext ? StartOf(*FNext) + SizeOf(*FNext) : parentSize;
    const std::int32_t room = farEdge - StartOf(*FControl) - SizeOf(*this);
    // Too little room for both minimums keeps the control at its least size.
    const std::int32_t size = std::max(FMinSize, std::min(SizeOf(*FControl) + Delta, room - FMinSize));
    if (size == SizeOf(*FControl)) return;
    Place(*FControl, StartOf(*FControl), size);
    const std::int32_t barStart = StartOf(*FControl) + size;
    Place(*this, barStart, SizeOf(*this));
    if (FNext) Place(*FNext, barStart + SizeOf(*this), farEdge - barStart - SizeOf(*this));
    if (OnMoved) OnMoved(this);
}

} // namespace kv
