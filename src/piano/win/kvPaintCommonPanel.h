#pragma once
// The paint surface of the drawing views: it draws nothing itself, not even a background
// (unless its Tag is non-zero), and raises OnPaint with its Canvas bound to the paint DC.
#include "gui/win/TPanel.h"

namespace kv {

class TPaintPanel : public TPanel {
public:
    explicit TPaintPanel(TComponent* AOwner) : TPanel(AOwner) {}
    std::string ClassName() const override { return "TPaintPanel"; }

    TNotifyEvent OnPaint;

protected:
    void PaintWindow(HDC DC) override;
    void Paint() override;
    bool EraseBackground(HDC DC) override;
};

} // namespace kv
