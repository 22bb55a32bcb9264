// Drives a running Korvanel.exe from outside, for scripts/run and by hand:
//   korvaneldriver wait [seconds]   waits until the main window "VELDRANE" is shown and painted, and
//                                   prints its place on the screen as WxH+X+Y
//   korvaneldriver texts            prints the class, bounds in its parent and text of each child window
//   korvaneldriver about            opens the About box through the system menu
//   korvaneldriver show CAPTION     shows the program's hidden window of that caption ("Options")
//   korvaneldriver play             presses Space in the main window (Play, Pause, Resume)
//   korvaneldriver close [seconds]  closes the main window and waits until it is gone
// Exit status 0 on success, 1 when the window did not appear or go in time, 2 for bad use.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

HWND MainWindow() { return FindWindowW(L"KvWinControl", L"VELDRANE"); }

bool WaitFor(bool Shown, int Seconds)
{
    for (int i = 0; i < Seconds * 20; ++i) {
        HWND wnd = MainWindow();
        if (Shown ? wnd && IsWindowVisible(wnd) : !wnd) return true;
        Sleep(50);
    }
    return false;
}

BOOL CALLBACK PrintChild(HWND Wnd, LPARAM)
{
    wchar_t name[64] = {}, text[256] = {};
    GetClassNameW(Wnd, name, 64);
    SendMessageTimeoutW(Wnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    RECT r{};
    GetWindowRect(Wnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(Wnd), reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ls\t%ld,%ld,%ld,%ld\t%ls\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top, text);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
    if (!wcscmp(argv[1], L"wait")) {
        if (!WaitFor(true, seconds)) return 1;
        // One round of messages answered: the first paint is done.
        SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, seconds * 1000, nullptr);
        RECT r{};
        GetWindowRect(MainWindow(), &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    if (!wcscmp(argv[1], L"texts")) {
        if (!MainWindow()) return 1;
        EnumChildWindows(MainWindow(), PrintChild, 0);
        return 0;
    }
    if (!wcscmp(argv[1], L"about")) {
        if (!MainWindow()) return 1;
        PostMessageW(MainWindow(), WM_SYSCOMMAND, 0xA1, 0);
        return 0;
    }
    if (!wcscmp(argv[1], L"show") && argc > 2) {
        DWORD pid = 0;
        if (!GetWindowThreadProcessId(MainWindow(), &pid)) return 1;
        for (HWND wnd = FindWindowExW(nullptr, nullptr, nullptr, argv[2]); wnd;
             wnd = FindWindowExW(nullptr, wnd, nullptr, argv[2])) {
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner != pid) continue;
            ShowWindow(wnd, SW_SHOWNORMAL);
            return 0;
        }
        return 1;
    }
    if (!wcscmp(argv[1], L"play")) {
        if (!MainWindow()) return 1;
        PostMessageW(MainWindow(), WM_KEYDOWN, VK_SPACE, 1);
        PostMessageW(MainWindow(), WM_KEYUP, VK_SPACE, 0xC0000001);
        return 0;
    }
    if (!wcscmp(argv[1], L"close")) {
        if (HWND wnd = MainWindow()) PostMessageW(wnd, WM_CLOSE, 0, 0);
        return WaitFor(false, seconds) ? 0 : 1;
    }
    return 2;
}
