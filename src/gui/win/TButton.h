#pragma once
// A push button over the system button: OnClick when pressed, OnMouseDown and OnMouseUp for the
// left button on the way.
#include "gui/win/TWinControl.h"

#include <string>

namespace kv {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 75, 25); SetTabStop(true); }
    std::string ClassName() const override { return "TButton"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    // Set before the window is made: a caption too long for one line breaks into lines.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    std::string FCaption;
    bool FWordWrap = false;
};

} // namespace kv
