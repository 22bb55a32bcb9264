#pragma once
// A one-line system edit: its text, read-only or not, OnChange when the user changes the text.
// A Color other than clBtnFace fills its background.
#include "gui/win/BackgroundBrush.h"
#include "gui/win/TWinControl.h"

#include <string>

namespace kv {

// The text of a window, as UTF-8.
std::string WindowText(HWND Wnd);

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 121, 21); }
    std::string ClassName() const override { return "TEdit"; }

    std::string Text() const;
    void SetText(const std::string& Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    TNotifyEvent OnChange;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    std::string FText;
    bool FReadOnly = false;
    bool FSettingText = false;
    BackgroundBrush FBrush;
};

} // namespace kv
