#pragma once
// A frame with a caption around other controls: a system group box.
#include "gui/win/TWinControl.h"

#include <string>

namespace kv {

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 185, 105); }
    std::string ClassName() const override { return "TGroupBox"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);

    // The system group box paints no background of its own: the box fills it with its colour,
    // so nothing of what lay there before shows through between its children.
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    std::string FCaption;
};

} // namespace kv
