#pragma once
// A thin bar between a control before it and the space after it: a vertical bar stands right of
// its control, a horizontal bar below it. Dragging the bar with the left button sizes the control
// and moves the bar to the control's new edge; the control after the bar, when one is given,
// starts at the bar's far edge and keeps its own far edge. OnMoved follows each move, for the
// parent to lay out the rest.
#include "gui/win/TCustomControl.h"

namespace kv {

enum TSplitterOrientation : std::uint8_t { soVertical, soHorizontal };

class TSplitter : public TCustomControl {
public:
    static constexpr std::int32_t DefaultWidth = 3;

    explicit TSplitter(TComponent* AOwner, TSplitterOrientation Orientation = soVertical);
    std::string ClassName() const override { return "TSplitter"; }

    TSplitterOrientation Orientation() const { return FOrientation; }
    // The control before the splitter that it sizes; not owned.
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }
    // The control after the splitter, which gives up the room the first one takes; not owned.
    TControl* Next() const { return FNext; }
    void SetNext(TControl* Value) { FNext = Value; }
    // The least size left to the control and to the space after the splitter.
    std::int32_t MinSize() const { return FMinSize; }
    void SetMinSize(std::int32_t Value) { FMinSize = Value; }

    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y) override;
    void MouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y) override;
    void CaptureChanged() override { FSizing = false; }

private:
    // Along the splitter's axis of movement: a control's start, size and the bar's thickness.
    std::int32_t Along(std::int32_t X, std::int32_t Y) const { return FOrientation == soVertical ? X : Y; }
    std::int32_t StartOf(const TControl& C) const { return FOrientation == soVertical ? C.Left() : C.Top(); }
    std::int32_t SizeOf(const TControl& C) const { return FOrientation == soVertical ? C.Width() : C.Height(); }
    void Place(TControl& C, std::int32_t Start, std::int32_t Size) const;
    void MoveBy(std::int32_t Delta);

    TSplitterOrientation FOrientation;
    TControl* FControl = nullptr;
    TControl* FNext = nullptr;
    std::int32_t FMinSize = 30;
    bool FSizing = false;
    std::int32_t FDown = 0;
};

} // namespace kv
