#include "gui/win/TForm.h"

#include "gui/ScreenSnap.h"
#include "gui/win/TApplication.h"

#include <vector>

namespace kv {

TForm::TForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisible(false);
    SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 640, 480);
}

void TForm::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WindowStyle() | WS_CLIPCHILDREN | (Visible() ? WS_VISIBLE : 0);
    Params.ExStyle = WindowExStyle();
    Params.Caption = Utf8ToWide(FCaption);
}

void TForm::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

std::int32_t TForm::ClientWidth() const
{
    RECT r{0, 0, 0, 0};
    if (HandleAllocated()) GetClientRect(const_cast<TForm*>(this)->Handle(), &r);
    return r.right;
}

std::int32_t TForm::ClientHeight() const
{
    RECT r{0, 0, 0, 0};
    if (HandleAllocated()) GetClientRect(const_cast<TForm*>(this)->Handle(), &r);
    return r.bottom;
}

void TForm::SetClientSize(std::int32_t Width, std::int32_t Height)
{
    RECT r{0, 0, Width, Height};
    AdjustWindowRectEx(&r, WindowStyle(), FALSE, WindowExStyle());
    const std::int32_t left = Left() == CW_USEDEFAULT ? 100 : Left();
    const std::int32_t top = Top() == CW_USEDEFAULT ? 100 : Top();
    SetBounds(left, top, r.right - r.left, r.bottom - r.top);
}

DWORD TForm::WindowStyle() const
{
    switch (FBorderStyle) {
    case bsSingle: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case bsDialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    default: return WS_OVERLAPPEDWINDOW;
    }
}

DWORD TForm::WindowExStyle() const { return FBorderStyle == bsDialog ? WS_EX_DLGMODALFRAME : 0; }

void TForm::CenterOn(TForm* Owner)
{
    RECT area{};
    if (Owner && Owner->HandleAllocated())
        GetWindowRect(Owner->Handle(), &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
              Width(), Height());
}

void TForm::SetTopMost(bool Value)
{
    SetWindowPos(Handle(), Value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::Show()
{
    HandleNeeded();
    SetVisible(true);
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND Wnd, LPARAM List)
{
    if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
    return TRUE;
}

} // namespace

TTaskWindowsDisabled::TTaskWindowsDisabled(HWND Except)
{
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&FDisabled));
    std::erase(FDisabled, Except);
    for (HWND wnd : FDisabled) EnableWindow(wnd, FALSE);
}

TTaskWindowsDisabled::~TTaskWindowsDisabled()
{
    for (HWND wnd : FDisabled)
        if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
}

void TForm::ShowModal()
{
    const TTaskWindowsDisabled disabled(Handle());
    Show();
    while (Visible() && !Application()->Terminated()) Application()->HandleMessage();
}

void TForm::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm::SnapDraggedRect(RECT& Dragged) const
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromRect(&Dragged, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const TRect snapped = SnapToWorkArea({Dragged.left, Dragged.top, Dragged.right, Dragged.bottom},
                                         {work.left, work.top, work.right, work.bottom}, FSnapBuffer);
    Dragged = {snapped.Left, snapped.Top, snapped.Right, snapped.Bottom};
}

LRESULT TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_MOVING && FScreenSnap && lParam) {
        SnapDraggedRect(*reinterpret_cast<RECT*>(lParam));
        return TRUE;
    }
    if (Msg == WM_CLOSE) {
        if (OnClose) OnClose(this);
        Hide();
        if (FIsMainForm) Application()->Terminate();
        return 0;
    }
    return TCustomControl::WndProc(Msg, wParam, lParam);
}

} // namespace kv
