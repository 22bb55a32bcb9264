#pragma once
// A system check box. OnClick follows every real change of the check state: a click, the space
// bar, BM_CLICK or SetChecked; setting the state it has raises nothing. A Color other than
// clBtnFace fills its background.
#include "gui/win/BackgroundBrush.h"
#include "gui/win/TWinControl.h"

#include <string>

namespace kv {

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 97, 17); SetTabStop(true); }
    std::string ClassName() const override { return "TCheckBox"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    std::string FCaption;
    bool FChecked = false;
    BackgroundBrush FBrush;
};

} // namespace kv
