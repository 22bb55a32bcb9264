#pragma once
// A thin vertical bar between a control on its left and the space on its right: dragging it with
// the left button sizes the control on its left and moves the bar to the control's new right
// edge; OnMoved follows each move, for the parent to lay out what lies to the right.
#include "gui/win/TCustomControl.h"

namespace kv {

class TSplitter : public TCustomControl {
public:
    static constexpr std::int32_t DefaultWidth = 3;

    explicit TSplitter(TComponent* AOwner);
    std::string ClassName() const override { return "TSplitter"; }

    // The control on the splitter's left that it sizes; not owned.
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }
    // The least width left to the control and to the space right of the splitter.
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
    void MoveBy(std::int32_t Delta);

    TControl* FControl = nullptr;
    std::int32_t FMinSize = 30;
    bool FSizing = false;
    std::int32_t FDownX = 0;
};

} // namespace kv
