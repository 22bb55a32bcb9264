#pragma once
// A top-level window with a caption and a client area for its children. Closing the
// application's main form ends the message loop.
#include "gui/win/TCustomControl.h"

namespace kv {

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* AOwner);
    std::string ClassName() const override { return "TForm"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    std::int32_t ClientWidth() const override;
    std::int32_t ClientHeight() const override;
    void SetClientSize(std::int32_t Width, std::int32_t Height);

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    bool IsMainForm() const { return FIsMainForm; }
    void SetMainForm(bool Value) { FIsMainForm = Value; }

    TNotifyEvent OnClose;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    std::string FCaption;
    bool FIsMainForm = false;
};

} // namespace kv
