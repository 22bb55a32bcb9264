#pragma once
// A visual component: bounds relative to its parent, anchors, visibility, hint, cursor, colour,
// font and the mouse and key events. Visual nesting (Parent) is separate from ownership.
#include "base/TComponent.h"
#include "gui/TColor.h"
#include "gui/TFont.h"
#include "gui/TRect.h"
#include "gui/TShiftState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

class TWinControl;

using TAnchors = std::uint8_t;
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

enum TCursor : std::int8_t { crDefault = 0, crArrow = -2, crCross = -3, crSizeWE = -9, crHSplit = -14, crVSplit = -15, crNoDrop = -18, crHandPoint = -21 };

// dmAutomatic: pressing the left button on the control and moving the mouse drags it.
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, std::int32_t X, std::int32_t Y)>;
// Asked while the mouse drags Source over the control: Accept says whether a drop is taken.
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, std::int32_t X, std::int32_t Y, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, std::int32_t X, std::int32_t Y)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    std::string ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* Value);

    std::int32_t Left() const { return FLeft; }
    std::int32_t Top() const { return FTop; }
    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    void SetLeft(std::int32_t Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(std::int32_t Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(std::int32_t Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(std::int32_t Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(std::int32_t ALeft, std::int32_t ATop, std::int32_t AWidth, std::int32_t AHeight);
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }

    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFont& Font() { return FFont; }

    virtual void Invalidate() {}

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    // Whether the control takes Source dropped at X, Y (client coordinates): only when OnDragOver
    // is assigned and accepts it.
    bool DragOver(TObject* Source, std::int32_t X, std::int32_t Y);
    // Source dropped at X, Y: OnDragDrop, when the control accepts it. Returns whether it did.
    bool DragDrop(TObject* Source, std::int32_t X, std::int32_t Y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    // The parent moves the control when its own size changes, by the anchors.
    void ParentResized(std::int32_t ParentWidth, std::int32_t ParentHeight);

protected:
    virtual void BoundsChanged() {}
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    virtual void MouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    virtual void Resize();

    TWinControl* FParent = nullptr;

private:
    friend class TWinControl;
    void UpdateAnchorRules();

    std::int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAnchors FAnchors = akLeft | akTop;
    // Distances to the parent's right and bottom edges, kept by the anchors.
    std::int32_t FAnchorRight = 0, FAnchorBottom = 0;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FHint;
    bool FShowHint = false;
    TCursor FCursor = crDefault;
    TDragMode FDragMode = dmManual;
    TColor FColor = clBtnFace;
    TFont FFont;
};

} // namespace kv
