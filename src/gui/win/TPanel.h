#pragma once
// A plain container that fills itself with its colour.
#include "gui/win/TCustomControl.h"

namespace kv {

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::string ClassName() const override { return "TPanel"; }

protected:
    void Paint() override;
};

} // namespace kv
