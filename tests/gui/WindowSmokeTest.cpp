// Proves the Windows test path: a real window under Wine and Xvfb is created, painted through
// WM_PAINT, and its pixels are read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kFill = RGB(200, 30, 60);
constexpr RECT kFilled{10, 10, 60, 40};

LRESULT CALLBACK SmokeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(dc, &kFilled, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SmokeWindow {
public:
    SmokeWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = SmokeWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KvSmokeWindow";
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"KvSmokeWindow", L"smoke", WS_POPUP | WS_VISIBLE, 100, 100, 120,
                                80, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~SmokeWindow()
    {
        if (hwnd_) DestroyWindow(hwnd_);
        UnregisterClassW(L"KvSmokeWindow", GetModuleHandleW(nullptr));
    }
    HWND Handle() const { return hwnd_; }

    void PumpMessages()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    HWND hwnd_ = nullptr;
};

// Copies the window's client area into a top-down 32-bit DIB and returns the pixel at (x, y).
COLORREF ReadBackPixel(HWND hwnd, int x, int y)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const int width = client.right, height = client.bottom;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC windowDc = GetDC(hwnd);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memoryDc, dib);
    BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD pixel = static_cast<const DWORD*>(bits)[y * width + x];
    SelectObject(memoryDc, old);
    DeleteObject(dib);
    DeleteDC(memoryDc);
    ReleaseDC(hwnd, windowDc);
    // The DIB holds blue in the low byte; COLORREF holds red there.
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

TEST(WindowSmoke, PaintedPixelsReadBackFromTheScreen)
{
    SmokeWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    UpdateWindow(window.Handle());
    window.PumpMessages();

    EXPECT_EQ(ReadBackPixel(window.Handle(), 20, 20), kFill);
    EXPECT_EQ(ReadBackPixel(window.Handle(), 59, 39), kFill);
    EXPECT_EQ(ReadBackPixel(window.Handle(), 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(ReadBackPixel(window.Handle(), 60, 40), RGB(255, 255, 255));
}

} // namespace
