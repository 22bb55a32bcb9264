#include "gui/win/TControl.h"

#include "gui/win/TWinControl.h"

namespace kv {

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* Value)
{
    if (Value == FParent) return;
    if (FParent) FParent->RemoveControl(this);
    FParent = Value;
    if (FParent) {
        FParent->InsertControl(this);
        UpdateAnchorRules();
    }
}

void TControl::SetBounds(std::int32_t ALeft, std::int32_t ATop, std::int32_t AWidth, std::int32_t AHeight)
{
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateAnchorRules();
    BoundsChanged();
    if (resized) Resize();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!FParent) return;
    FAnchorRight = FParent->ClientWidth() - (FLeft + FWidth);
    FAnchorBottom = FParent->ClientHeight() - (FTop + FHeight);
}

void TControl::ParentResized(std::int32_t ParentWidth, std::int32_t ParentHeight)
{
    std::int32_t left = FLeft, top = FTop, width = FWidth, height = FHeight;
    if (FAnchors & akRight) {
        if (FAnchors & akLeft)
            width = ParentWidth - FAnchorRight - left;
        else
            left = ParentWidth - FAnchorRight - width;
    }
    if (FAnchors & akBottom) {
        if (FAnchors & akTop)
            height = ParentHeight - FAnchorBottom - top;
        else
            top = ParentHeight - FAnchorBottom - height;
    }
    const std::int32_t keepRight = FAnchorRight, keepBottom = FAnchorBottom;
    SetBounds(left, top, width, height);
    FAnchorRight = keepRight;
    FAnchorBottom = keepBottom;
}

void TControl::SetVisible(bool Value) { FVisible = Value; }
void TControl::SetEnabled(bool Value) { FEnabled = Value; }

void TControl::SetColor(TColor Value)
{
    FColor = Value;
    Invalidate();
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DragOver(TObject* Source, std::int32_t X, std::int32_t Y)
{
    bool accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, Source, X, Y, accept);
    }
    return accept;
}

bool TControl::DragDrop(TObject* Source, std::int32_t X, std::int32_t Y)
{
    if (!DragOver(Source, X, Y)) return false;
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
    return true;
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

} // namespace kv
