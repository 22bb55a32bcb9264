#pragma once
// A control that owns one window. Our window classes share one window procedure, which finds
// the control through GWLP_USERDATA and calls its WndProc; every exception is caught there.
// The window is made when the control gets a parent that has one (or, for a top-level window,
// when HandleNeeded is called).
#include "gui/win/TControl.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace kv {

LRESULT CALLBACK WinControlWindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK WinControlSubclassProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT_PTR Id, DWORD_PTR RefData);

// A notification a parent received about a child's system window (WM_COMMAND, WM_NOTIFY,
// WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT) is passed on to the child's control as ReflectedMessage + Msg
// with the same parameters.
constexpr UINT ReflectedMessage = WM_APP + 0x3000;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    HWND Handle() { HandleNeeded(); return FHandle.load(); }
    // The control whose window Wnd is, nullptr for a window that is none of ours.
    static TWinControl* FromHandle(HWND Wnd);
    bool HandleAllocated() const { return FHandle.load() != nullptr; }
    void HandleNeeded();

    void SetParent(TWinControl* Value) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    // Whether the control takes part in Tab moves between controls.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    virtual std::int32_t ClientWidth() const { return Width(); }
    virtual std::int32_t ClientHeight() const { return Height(); }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<std::size_t>(Index)); }

    // Marks the window for repainting; safe to call from any thread.
    void Invalidate() override;
    // Invalidate, then paint now (GUI thread).
    void Repaint();
    // The point in screen coordinates.
    TPoint ClientToScreen(const TPoint& P);
    TPoint ScreenToClient(const TPoint& P);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    // Follows the window's taking the keyboard focus.
    TNotifyEvent OnEnter;

    // The shared window procedure's way in.
    virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);

protected:
    struct TCreateParams {
        DWORD Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        DWORD ExStyle = 0;
        std::wstring Caption;
        // A system window class (a button, a list box, a track bar) that the control wraps: its
        // window is made from that class and subclassed; nullptr for our own window class.
        const wchar_t* WindowClass = nullptr;
    };
    virtual void CreateParams(TCreateParams& Params);
    void BoundsChanged() override;
    virtual void PaintWindow(HDC DC);
    virtual bool EraseBackground(HDC DC);
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void CaptureChanged() {}
    // Follows the making of the window, before the children's windows are made.
    virtual void HandleCreated() {}
    // Whether the window is a subclassed system window.
    bool Subclassed() const { return FSubclassed; }
    LRESULT DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam);

private:
    friend class TControl;
    friend LRESULT CALLBACK WinControlWindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK WinControlSubclassProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT_PTR Id,
                                                   DWORD_PTR RefData);
    bool ReflectToChild(HWND Child, UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result);
    void DestroyOwnWindow();
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);
    void CreateHandle();
    void LayoutChildren();
    void HandleMouse(UINT Msg, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> FHandle{nullptr};
    std::vector<TControl*> FControls;
    std::int32_t FLaidOutWidth = -1, FLaidOutHeight = -1;
    bool FInWmSize = false;
    bool FClickPending = false;
    bool FSubclassed = false;
    bool FTabStop = false;
    // The font a subclassed system window writes in, made from the control's font.
    HFONT FFontHandle = nullptr;
};

// The control of ours whose window lies under a screen point (the nearest of the window and its
// parents), nullptr for none.
TWinControl* FindDragTarget(POINT Screen);
// Whether the control under the point would take Source dropped there.
bool DragAcceptedAt(TObject* Source, POINT Screen);
// Drops Source at the point: the control there gets it when it accepts. Returns whether it did.
bool DropAt(TObject* Source, POINT Screen);
HCURSOR CursorHandle(TCursor Cursor);
// Registers the common controls' window classes (tool bar, status bar, progress bar...) once.
void InitCommonControlClasses();

// The modifier keys and buttons of a mouse message's wParam, with Alt from the keyboard.
TShiftState MouseShiftState(WPARAM wParam);
// The modifier keys held now.
TShiftState KeyboardShiftState();

} // namespace kv
