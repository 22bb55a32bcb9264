#pragma once
// A windowed control that draws itself: Paint draws on Canvas, which is bound to the paint DC
// only while WM_PAINT is handled (and unbound also when Paint raises).
#include "gui/win/TCanvas.h"
#include "gui/win/TWinControl.h"

namespace kv {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
    std::string ClassName() const override { return "TCustomControl"; }
    TCanvas& Canvas() { return FCanvas; }

protected:
    void PaintWindow(HDC DC) override;
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};

} // namespace kv
