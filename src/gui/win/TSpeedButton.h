#pragma once
// A small button that draws its caption in its own font; flat buttons draw no border.
#include "gui/win/TCustomControl.h"

namespace kv {

class TSpeedButton : public TCustomControl {
public:
    explicit TSpeedButton(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 23, 22); }
    std::string ClassName() const override { return "TSpeedButton"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; Invalidate(); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; Invalidate(); }

protected:
    void Paint() override;
    bool EraseBackground(HDC) override { return true; }

private:
    std::string FCaption;
    bool FFlat = false;
};

} // namespace kv
