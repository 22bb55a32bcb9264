#include "installer/wizard/win/BackgroundWindow.h"

#include "installer/state/InstallerState.h"
#include "installer/text/Utf8.h"
#include "installer/wizard/win/BackgroundPicture.h"

#include <optional>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"DravellBackground";

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        if (gInstallerContext.screenDc) {
            copyBackgroundTo(reinterpret_cast<HDC>(wParam));
            return 1;
        }
        break;
    case WM_DISPLAYCHANGE:
        if (gBackgroundStyle.flags & kBackgroundDrawn)
            drawBackground(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK backgroundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool registerClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = backgroundWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

DWORD backgroundWindowStyle(unsigned flags)
{
    if (!(flags & kBackgroundCaption))
        return WS_POPUP;
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZE;
    if (flags & kBackgroundFullScreen)
        return style | WS_POPUP;
    return style | WS_THICKFRAME | WS_MAXIMIZEBOX;
}

HWND createBackgroundWindow(HINSTANCE instance)
{
    if (!registerClass(instance))
        return nullptr;
    const AreaRect& area = gInstallerContext.clientArea;
    const std::optional<std::u16string> title = utf8ToWide(gBackgroundStyle.windowTitle.cStr());
    HWND window = CreateWindowExW(0, kClassName, title ? reinterpret_cast<const wchar_t*>(title->c_str()) : L"",
                                  backgroundWindowStyle(gBackgroundStyle.flags), area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    gInstallerContext.mainWindow = window;
    gMainInstaller.mainWindow = window;
    return window;
}
