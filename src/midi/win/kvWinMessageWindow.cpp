#include "midi/win/kvWinMessageWindow.h"

#include "base/ExceptionHandler.h"
#include "base/Exceptions.h"
#include "base/Format.h"

#include <utility>

namespace kv {

namespace {

constexpr const wchar_t* ClassName = L"TKVMidiPlayerWindow";

void RegisterWindowClass(WNDPROC proc)
{
    static const bool registered = [proc] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = ClassName;
        return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw Exception("Cannot register the player's window class.");
}

// The timer posts a tick every period whether or not the last one was handled. Where a tick takes
// longer than the period (a slow or busy machine), they would pile up faster than they are handled,
// and the thread's queue would never run empty: input and painting, which wait for posted messages,
// would starve, and a loop that runs until the queue is empty would never end. Each tick reads the
// position from the clock, so the ticks posted while one was handled carry nothing and are dropped.
void DropTicksQueuedMeanwhile(HWND hwnd)
{
    MSG stale;
    while (PeekMessageW(&stale, hwnd, WM_MIDITIMER, WM_MIDITIMER, PM_REMOVE)) {
    }
}

} // namespace

TKVWinMessageWindow::TKVWinMessageWindow(TKVWndMethod Method) : FMethod(std::move(Method))
{
    RegisterWindowClass(&TKVWinMessageWindow::WindowProc);
    FHandle = CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (FHandle == nullptr)
        throw Exception(Format("Cannot create the player's window (error %d).", {static_cast<unsigned>(GetLastError())}));
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TKVWinMessageWindow::~TKVWinMessageWindow()
{
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
}

LRESULT CALLBACK TKVWinMessageWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_MIDITIMER) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        auto* window = reinterpret_cast<TKVWinMessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (window != nullptr && window->FMethod) window->FMethod(msg, wParam, lParam);
    } catch (...) {
        HandleApplicationException(std::current_exception());
    }
    DropTicksQueuedMeanwhile(hwnd);
    return 0;
}

} // namespace kv
