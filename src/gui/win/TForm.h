#pragma once
// A top-level window with a caption and a client area for its children. Closing the
// application's main form ends the message loop.
#include "gui/win/TCustomControl.h"

#include <vector>

namespace kv {

enum TFormBorderStyle : std::uint8_t { bsSizeable, bsSingle, bsDialog };

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* AOwner);
    std::string ClassName() const override { return "TForm"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    std::int32_t ClientWidth() const override;
    std::int32_t ClientHeight() const override;
    void SetClientSize(std::int32_t Width, std::int32_t Height);
    // Set before the window is made. bsSingle: a fixed frame with the system menu and a
    // minimize box; bsDialog: a fixed dialog frame with the system menu only.
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
    // Places the window in the middle of the screen's work area, or of Owner's window.
    void CenterOn(TForm* Owner);
    // The topmost band of the z-order on or off; size and place stay.
    void SetTopMost(bool Value);

    // While the user drags the window, edges within SnapBuffer pixels of the screen's work area
    // move onto it.
    bool ScreenSnap() const { return FScreenSnap; }
    void SetScreenSnap(bool Value) { FScreenSnap = Value; }
    std::int32_t SnapBuffer() const { return FSnapBuffer; }
    void SetSnapBuffer(std::int32_t Value) { FSnapBuffer = Value; }

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    // Shows the window and handles messages until it is hidden; meanwhile the program's other
    // windows take no input.
    void ShowModal();
    bool IsMainForm() const { return FIsMainForm; }
    void SetMainForm(bool Value) { FIsMainForm = Value; }

    TNotifyEvent OnClose;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    DWORD WindowStyle() const;
    DWORD WindowExStyle() const;
    void SnapDraggedRect(RECT& Dragged) const;

    std::string FCaption;
    bool FIsMainForm = false;
    bool FScreenSnap = false;
    std::int32_t FSnapBuffer = 10;
    TFormBorderStyle FBorderStyle = bsSizeable;
};

// While it lives, every visible window of the program but one takes no input, as a modal window
// wants it; those it disabled are enabled again when it ends.
class TTaskWindowsDisabled {
public:
    explicit TTaskWindowsDisabled(HWND Except);
    ~TTaskWindowsDisabled();
    TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
    TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
    std::vector<HWND> FDisabled;
};

} // namespace kv
