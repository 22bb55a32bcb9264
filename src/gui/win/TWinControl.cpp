#include "gui/win/TWinControl.h"

#include "base/Exceptions.h"
#include "gui/win/FontHandle.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace kv {

namespace {

constexpr wchar_t WindowClassName[] = L"KvWinControl";
// The window property that leads from any of our windows, own class or subclassed, to its control.
constexpr wchar_t ControlProperty[] = L"KvWinControl";

void RegisterWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WinControlWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = nullptr; // WM_SETCURSOR chooses
        wc.lpszClassName = WindowClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

LPCWSTR SystemCursor(TCursor Cursor)
{
    switch (Cursor) {
    case crCross: return MAKEINTRESOURCEW(32515);     // IDC_CROSS
    case crSizeWE: return MAKEINTRESOURCEW(32644);    // IDC_SIZEWE
    case crHandPoint: return MAKEINTRESOURCEW(32649); // IDC_HAND
    case crHSplit: return MAKEINTRESOURCEW(32644);    // IDC_SIZEWE
    case crVSplit: return MAKEINTRESOURCEW(32645);    // IDC_SIZENS
    case crNoDrop: return MAKEINTRESOURCEW(32648);    // IDC_NO
    default: return MAKEINTRESOURCEW(32512);          // IDC_ARROW
    }
}

} // namespace

void InitCommonControlClasses()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
}

HCURSOR CursorHandle(TCursor Cursor) { return LoadCursorW(nullptr, SystemCursor(Cursor)); }

TWinControl* TWinControl::FromHandle(HWND Wnd)
{
    if (!Wnd) return nullptr;
    auto* control = static_cast<TWinControl*>(GetPropW(Wnd, ControlProperty));
    return control && control->FHandle.load() == Wnd ? control : nullptr;
}

TWinControl* FindDragTarget(POINT Screen)
{
    for (HWND wnd = WindowFromPoint(Screen); wnd; wnd = GetParent(wnd))
        if (TWinControl* control = TWinControl::FromHandle(wnd)) return control;
    return nullptr;
}

bool DragAcceptedAt(TObject* Source, POINT Screen)
{
    TWinControl* target = FindDragTarget(Screen);
    if (!target) return false;
    const TPoint p = target->ScreenToClient({Screen.x, Screen.y});
    return target->DragOver(Source, p.X, p.Y);
}

bool DropAt(TObject* Source, POINT Screen)
{
    TWinControl* target = FindDragTarget(Screen);
    if (!target) return false;
    const TPoint p = target->ScreenToClient({Screen.x, Screen.y});
    return target->DragDrop(Source, p.X, p.Y);
}

// The one window procedure of our window classes.
LRESULT CALLBACK WinControlWindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* creating = static_cast<TWinControl*>(create->lpCreateParams);
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
        if (creating) creating->FHandle = Wnd;
    }
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    if (!control) return DefWindowProcW(Wnd, Msg, wParam, lParam);
    LRESULT result = 0;
    if (!GuardedCall([&] { result = control->WndProc(Msg, wParam, lParam); }))
        return Msg == WM_NCCREATE ? FALSE : 0;
    return result;
}

// The subclass procedure of the system windows our controls wrap.
LRESULT CALLBACK WinControlSubclassProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT_PTR /*Id*/,
                                        DWORD_PTR RefData)
{
    auto* control = reinterpret_cast<TWinControl*>(RefData);
    if (!control || control->FHandle.load() != Wnd) {
        if (Msg == WM_NCDESTROY) RemoveWindowSubclass(Wnd, WinControlSubclassProc, 0);
        return DefSubclassProc(Wnd, Msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (!GuardedCall([&] { result = control->WndProc(Msg, wParam, lParam); })) return 0;
    return result;
}

TShiftState KeyboardShiftState()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState MouseShiftState(WPARAM wParam)
{
    TShiftState shift = 0;
    if (wParam & MK_SHIFT) shift |= ssShift;
    if (wParam & MK_CONTROL) shift |= ssCtrl;
    if (wParam & MK_LBUTTON) shift |= ssLeft;
    if (wParam & MK_RBUTTON) shift |= ssRight;
    if (wParam & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    for (TControl* child : FControls) child->FParent = nullptr;
    FControls.clear();
    DestroyOwnWindow();
}

void TWinControl::DestroyOwnWindow()
{
    if (HWND wnd = FHandle.exchange(nullptr)) {
        RemovePropW(wnd, ControlProperty);
        if (FSubclassed)
            RemoveWindowSubclass(wnd, WinControlSubclassProc, 0);
        else
            SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        DestroyWindow(wnd);
    }
    if (FFontHandle) DeleteObject(std::exchange(FFontHandle, nullptr));
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    if (!Parent()) Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    if (Visible()) Params.Style |= WS_VISIBLE;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
}

void TWinControl::HandleNeeded()
{
    if (HandleAllocated()) return;
    if (Parent()) Parent()->HandleNeeded();
    // Making the parent's window makes its children's windows too, this one among them.
    if (HandleAllocated()) return;
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    RegisterWindowClass();
    TCreateParams params;
    CreateParams(params);
    HWND parent = Parent() ? Parent()->FHandle.load() : nullptr;
    FSubclassed = params.WindowClass != nullptr;
    HWND wnd = CreateWindowExW(params.ExStyle, FSubclassed ? params.WindowClass : WindowClassName,
                               params.Caption.c_str(), params.Style, Left(), Top(), Width(), Height(), parent,
                               nullptr, GetModuleHandleW(nullptr), FSubclassed ? nullptr : this);
    if (!wnd) {
        FHandle = nullptr;
        throw Exception("Error creating window of " + ClassName());
    }
    FHandle = wnd;
    if (FSubclassed) {
        if (!SetWindowSubclass(wnd, WinControlSubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
            FHandle = nullptr;
            DestroyWindow(wnd);
            throw Exception("Error subclassing window of " + ClassName());
        }
        if (!FFontHandle) FFontHandle = MakeFont(Font());
        SendMessageW(wnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(FFontHandle ? FFontHandle : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    SetPropW(wnd, ControlProperty, this);
    HandleCreated();
    for (TControl* child : FControls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->HandleNeeded();
}

void TWinControl::SetTabStop(bool Value)
{
    FTabStop = Value;
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrW(FHandle.load(), GWL_STYLE);
    SetWindowLongPtrW(FHandle.load(), GWL_STYLE, Value ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

void TWinControl::SetParent(TWinControl* Value)
{
    TControl::SetParent(Value);
    if (!Value) return;
    if (HandleAllocated())
        ::SetParent(FHandle.load(), Value->Handle());
    else if (Value->HandleAllocated())
        HandleNeeded();
}

void TWinControl::SetVisible(bool Value)
{
    TControl::SetVisible(Value);
    if (HandleAllocated()) ShowWindow(FHandle.load(), Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    TControl::SetEnabled(Value);
    if (HandleAllocated()) EnableWindow(FHandle.load(), Value);
}

void TWinControl::InsertControl(TControl* Control) { FControls.push_back(Control); }

void TWinControl::RemoveControl(TControl* Control)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Control), FControls.end());
}

void TWinControl::BoundsChanged()
{
    if (HandleAllocated() && !FInWmSize)
        SetWindowPos(FHandle.load(), nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutChildren();
}

void TWinControl::LayoutChildren()
{
    if (ClientWidth() == FLaidOutWidth && ClientHeight() == FLaidOutHeight) return;
    const bool first = FLaidOutWidth < 0;
    FLaidOutWidth = ClientWidth();
    FLaidOutHeight = ClientHeight();
    if (first) return;
    for (TControl* child : FControls) child->ParentResized(FLaidOutWidth, FLaidOutHeight);
}

void TWinControl::Invalidate()
{
    if (HWND wnd = FHandle.load()) InvalidateRect(wnd, nullptr, FALSE);
}

void TWinControl::Repaint()
{
    Invalidate();
    if (HWND wnd = FHandle.load()) UpdateWindow(wnd);
}

TPoint TWinControl::ClientToScreen(const TPoint& P)
{
    POINT p{P.X, P.Y};
    ::ClientToScreen(Handle(), &p);
    return {p.x, p.y};
}

TPoint TWinControl::ScreenToClient(const TPoint& P)
{
    POINT p{P.X, P.Y};
    ::ScreenToClient(Handle(), &p);
    return {p.x, p.y};
}

LRESULT TWinControl::DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (FSubclassed) return DefSubclassProc(FHandle.load(), Msg, wParam, lParam);
    return DefWindowProcW(FHandle.load(), Msg, wParam, lParam);
}

bool TWinControl::ReflectToChild(HWND Child, UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    if (!Child) return false;
    for (TControl* control : FControls) {
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (windowed && windowed->FHandle.load() == Child) {
            Result = windowed->WndProc(ReflectedMessage + Msg, wParam, lParam);
            return true;
        }
    }
    return false;
}

void TWinControl::PaintWindow(HDC) {}

bool TWinControl::EraseBackground(HDC DC)
{
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    RECT client;
    GetClientRect(FHandle.load(), &client);
    FillRect(DC, &client, brush);
    DeleteObject(brush);
    return true;
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::HandleMouse(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const std::int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const TShiftState shift = MouseShiftState(wParam);
    switch (Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDOWN: FClickPending = true; MouseDown(mbLeft, shift | ssLeft, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift | ssRight, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift | ssMiddle, x, y); break;
    case WM_LBUTTONDBLCLK: DblClick(); MouseDown(mbLeft, shift | ssLeft, x, y); break;
    case WM_LBUTTONUP: {
        const bool click = FClickPending && PtInRect(ClientRect(), {x, y});
        FClickPending = false;
        MouseUp(mbLeft, shift, x, y);
        if (click) Click();
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    default: break;
    }
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT reflected = 0;
    switch (Msg) {
    case WM_COMMAND: case WM_HSCROLL: case WM_VSCROLL: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (ReflectToChild(reinterpret_cast<HWND>(lParam), Msg, wParam, lParam, reflected)) return reflected;
        break;
    case WM_NOTIFY:
        if (ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, Msg, wParam, lParam, reflected)) return reflected;
        break;
    case WM_DRAWITEM:
        if (ReflectToChild(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem, Msg, wParam, lParam, reflected))
            return reflected;
        break;
    default:
        break;
    }
    if (Msg == WM_SETFOCUS) {
        // The window takes the focus first: a handler may hand it on at once.
        const LRESULT result = DefaultHandler(Msg, wParam, lParam);
        if (OnEnter) OnEnter(this);
        return result;
    }
    if (FSubclassed) {
        // The system window paints, sizes and handles the mouse itself.
        if (Msg == WM_NCDESTROY) {
            HWND wnd = FHandle.exchange(nullptr);
            RemovePropW(wnd, ControlProperty);
            RemoveWindowSubclass(wnd, WinControlSubclassProc, 0);
            return DefSubclassProc(wnd, Msg, wParam, lParam);
        }
        if (Msg == ReflectedMessage + WM_CTLCOLORBTN || Msg == ReflectedMessage + WM_CTLCOLORSTATIC ||
            Msg == ReflectedMessage + WM_CTLCOLOREDIT)
            return DefWindowProcW(GetParent(FHandle.load()), Msg - ReflectedMessage, wParam, lParam);
        if (Msg >= ReflectedMessage) return 0;
        return DefaultHandler(Msg, wParam, lParam);
    }
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FHandle.load(), &ps);
        struct EndOnExit {
            HWND wnd;
            PAINTSTRUCT* ps;
            ~EndOnExit() { EndPaint(wnd, ps); }
        } end{FHandle.load(), &ps};
        PaintWindow(dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SIZE:
        if (!IsIconic(FHandle.load())) {
            RECT window;
            GetWindowRect(FHandle.load(), &window);
            const std::int32_t width = window.right - window.left, height = window.bottom - window.top;
            FInWmSize = true;
            struct Reset { bool& flag; ~Reset() { flag = false; } } reset{FInWmSize};
            if (width != Width() || height != Height())
                SetBounds(Left(), Top(), width, height);
            else
                LayoutChildren();
        }
        return 0;
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        HandleMouse(Msg, wParam, lParam);
        return 0;
    case WM_KEYDOWN: {
        auto key = static_cast<std::uint16_t>(wParam);
        KeyDown(key, KeyboardShiftState());
        return 0;
    }
    case WM_KEYUP: {
        auto key = static_cast<std::uint16_t>(wParam);
        KeyUp(key, KeyboardShiftState());
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(LoadCursorW(nullptr, SystemCursor(Cursor())));
            return TRUE;
        }
        break;
    case WM_CAPTURECHANGED:
        CaptureChanged();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(FHandle.load(), GWLP_USERDATA, 0);
        {
            HWND wnd = FHandle.exchange(nullptr);
            RemovePropW(wnd, ControlProperty);
            return DefWindowProcW(wnd, Msg, wParam, lParam);
        }
    default:
        break;
    }
    return DefaultHandler(Msg, wParam, lParam);
}

} // namespace kv
