// The progress bar drawn on a real window: smooth and block mode, the percentage text, hidden
// bars, ignored percentages, result codes, and the bar on the self-copy note.
#include "installer/wizard/win/CopyProgressBar.h"
#include "installer/wizard/win/ProgressBar.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

constexpr COLORREF kHostColor = RGB(255, 255, 255);
constexpr COLORREF kBarColor = 0xC56B32;
constexpr COLORREF kBackground = RGB(0, 160, 0);
constexpr COLORREF kTextColor = RGB(255, 255, 0);
constexpr int kLeft = 10;
constexpr int kTop = 10;
constexpr int kWidth = 200;
constexpr int kHeight = 40;
// A row below the percentage text.
constexpr int kPlainRow = 30;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// A white top-most window to draw on, painted before the bar comes.
class HostWindow {
public:
    HostWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = hostProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KvProgressBarHost";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(WS_EX_TOPMOST, "KvProgressBarHost", "bar host", WS_POPUP | WS_VISIBLE, 100, 100,
                                  260, 80, nullptr, nullptr, windowClass.hInstance, nullptr);
        repaint();
    }
    ~HostWindow()
    {
        if (window_)
            DestroyWindow(window_);
        UnregisterClassA("KvProgressBarHost", GetModuleHandleA(nullptr));
    }
    HWND get() const { return window_; }
    // Paints the whole window white again, bar or not.
    void repaint() const
    {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
        pumpMessages();
    }

private:
    HWND window_ = nullptr;
};

// The client area of a window as it is on the screen.
class Capture {
public:
    explicit Capture(HWND window)
    {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        const int height = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const HDC windowDc = GetDC(window);
        const HDC memoryDc = CreateCompatibleDC(windowDc);
        void* bits = nullptr;
        const HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(memoryDc, dib);
        BitBlt(memoryDc, 0, 0, width_, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        pixels_.assign(pixels, pixels + width_ * height);
        SelectObject(memoryDc, old);
        DeleteObject(dib);
        DeleteDC(memoryDc);
        ReleaseDC(window, windowDc);
    }
    COLORREF at(int x, int y) const
    {
        const DWORD pixel = pixels_.at(static_cast<std::size_t>(y * width_ + x));
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // Pixels of that colour in the rectangle.
    int count(COLORREF color, int left, int top, int right, int bottom) const
    {
        int found = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                found += at(x, y) == color;
        return found;
    }

private:
    int width_ = 0;
    std::vector<DWORD> pixels_;
};

int createBar(ProgressBar& bar, const HostWindow& host, std::uint32_t flags, int width = kWidth)
{
    return bar.create(host.get(), kLeft, kTop, width, kHeight, kBarColor, flags, kBackground, kTextColor);
}

// The colour of the bar's column x (from the bar's left) on the plain row.
COLORREF column(const Capture& capture, int x)
{
    return capture.at(kLeft + x, kTop + kPlainRow);
}

TEST(ProgressBar, SmoothBarFillsUpToThePercentageAndShowsTheText)
{
    const HostWindow host;
    ASSERT_NE(host.get(), nullptr);
    ProgressBar bar;
    ASSERT_EQ(createBar(bar, host, kProgressSmooth), 1);
    struct Case {
        int percent;
        int filledColumns; // from column 2 on
    };
    for (const Case c : {Case{0, 0}, Case{50, 98}, Case{100, 196}}) {
        EXPECT_EQ(bar.setPercent(c.percent), 1) << c.percent;
        const Capture capture(host.get());
        if (c.filledColumns > 0) {
            EXPECT_EQ(column(capture, 2), kBarColor) << c.percent;
            EXPECT_EQ(column(capture, 1 + c.filledColumns), kBarColor) << c.percent;
        }
        if (c.filledColumns < 196) {
            EXPECT_EQ(column(capture, 2 + c.filledColumns), kBackground) << c.percent;
            EXPECT_EQ(column(capture, kWidth - 3), kBackground) << c.percent;
        }
        // The "N %" text in the middle of the upper rows.
        EXPECT_GT(capture.count(kTextColor, kLeft + 60, kTop + 2, kLeft + 140, kTop + 25), 0) << c.percent;
        EXPECT_EQ(capture.count(kTextColor, kLeft, kTop + 25, kLeft + kWidth, kTop + kHeight), 0) << c.percent;
    }
}

TEST(ProgressBar, BlockModeDrawsBlocksWithGapsAndNoText)
{
    const HostWindow host;
    ProgressBar bar;
    ASSERT_EQ(createBar(bar, host, 0), 1);
    ASSERT_EQ(bar.setPercent(100), 1);
    const Capture capture(host.get());
    // 16 blocks of 10 pixels, 2-pixel gaps, starting 3 pixels in; the last from 183 to 193.
    const struct {
        int x;
        COLORREF color;
    } columns[] = {{2, kBackground},   {3, kBarColor},    {12, kBarColor},   {13, kBackground},
                   {14, kBackground},  {15, kBarColor},   {183, kBarColor},  {192, kBarColor},
                   {193, kBackground}, {197, kBackground}};
    for (const auto& c : columns)
        EXPECT_EQ(column(capture, c.x), c.color) << "column " << c.x;
    // Blocks leave a pixel free above and below.
    EXPECT_EQ(capture.at(kLeft + 5, kTop + 2), kBackground);
    EXPECT_EQ(capture.at(kLeft + 5, kTop + 3), kBarColor);
    EXPECT_EQ(capture.at(kLeft + 5, kTop + kHeight - 3), kBackground);
    EXPECT_EQ(capture.count(kTextColor, kLeft, kTop, kLeft + kWidth, kTop + kHeight), 0);
}

TEST(ProgressBar, BlocksNeverReachIntoTheEdge)
{
    // Unfitted 10-pixel blocks on a 206-pixel bar would run to column 205, over the edge at 204.
    const HostWindow host;
    ProgressBar bar;
    ASSERT_EQ(createBar(bar, host, 0, 206), 1);
    const Capture empty(host.get());
    ASSERT_EQ(bar.setPercent(100), 1);
    const Capture full(host.get());
    EXPECT_EQ(column(full, 203), kBarColor);
    for (int x = 204; x < 206; ++x)
        EXPECT_EQ(column(full, x), column(empty, x)) << "edge column " << x;
}

TEST(ProgressBar, FittedBlocksAndFlagsThreeActingAsOne)
{
    const HostWindow host;
    ProgressBar blocks;
    ASSERT_EQ(blocks.create(host.get(), kLeft, kTop, 180, kHeight, kBarColor, kProgressFitBlocks, kBackground,
                            kTextColor),
              1);
    EXPECT_EQ(blocks.blockWidth(), 15);
    ASSERT_EQ(blocks.setPercent(100), 1);
    const Capture capture(host.get());
    EXPECT_EQ(column(capture, 17), kBarColor);
    EXPECT_EQ(column(capture, 18), kBackground);
    EXPECT_EQ(column(capture, 20), kBarColor);

    ProgressBar smooth;
    ASSERT_EQ(createBar(smooth, host, kProgressSmooth | kProgressFitBlocks), 1);
    EXPECT_EQ(smooth.flags(), kProgressSmooth);
    EXPECT_EQ(smooth.blockWidth(), 10);
}

TEST(ProgressBar, HiddenBarDrawsNothingAndOutOfRangePercentagesChangeNothing)
{
    const HostWindow host;
    ProgressBar hidden;
    ASSERT_EQ(createBar(hidden, host, kProgressSmooth | kProgressHidden), 1);
    EXPECT_EQ(hidden.setPercent(60), 0);
    const Capture untouched(host.get());
    EXPECT_EQ(untouched.count(kHostColor, kLeft, kTop, kLeft + kWidth, kTop + kHeight), kWidth * kHeight);
    hidden.free();

    ProgressBar bar;
    ASSERT_EQ(createBar(bar, host, kProgressSmooth), 1);
    ASSERT_EQ(bar.setPercent(50), 1);
    host.repaint();
    for (int percent : {101, -1, 1000}) {
        EXPECT_EQ(bar.setPercent(percent), 1) << percent;
        EXPECT_EQ(bar.percent(), 50) << percent;
    }
    // No redraw happened: the host's white is still where the bar was.
    const Capture after(host.get());
    EXPECT_EQ(after.count(kHostColor, kLeft, kTop, kLeft + kWidth, kTop + kHeight), kWidth * kHeight);
    // Until the host asks for the bar again.
    EXPECT_EQ(bar.redraw(), 1);
    EXPECT_EQ(column(Capture(host.get()), 50), kBarColor);
}

TEST(ProgressBar, ResultCodesWithoutDrawingSurface)
{
    const HostWindow host;
    ProgressBar bar;
    EXPECT_EQ(bar.redraw(), 0);
    EXPECT_EQ(bar.setPercent(40), 0);
    EXPECT_EQ(bar.setFlags(kProgressSmooth), 0);
    EXPECT_EQ(bar.create(nullptr, 0, 0, 100, 20, kBarColor, 0, kBackground, kTextColor), -2);
    EXPECT_EQ(bar.redraw(), 0);
    EXPECT_EQ(createBar(bar, host, 0, 0), -3);
    EXPECT_EQ(bar.redraw(), 0);

    // Created again over an earlier creation, freed twice, and created once more.
    ASSERT_EQ(createBar(bar, host, 0), 1);
    ASSERT_EQ(createBar(bar, host, kProgressSmooth), 1);
    EXPECT_EQ(bar.setPercent(100), 1);
    bar.free();
    bar.free();
    EXPECT_EQ(bar.redraw(), 0);
    ASSERT_EQ(createBar(bar, host, kProgressSmooth), 1);
    EXPECT_EQ(bar.setPercent(100), 1);
    EXPECT_EQ(column(Capture(host.get()), 100), kBarColor);

    RECT moved{20, 15, 220, 55};
    bar.setRect(moved);
    RECT read{};
    bar.getRect(read);
    EXPECT_TRUE(EqualRect(&read, &moved));
}

INT_PTR CALLBACK silentNoteProcedure(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST(ProgressBar, CopyBarSitsUnderTheNoteText)
{
    const HWND note = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kBusyNoteDialogId), nullptr,
                                         silentNoteProcedure, 0);
    ASSERT_NE(note, nullptr);
    pumpMessages();
    ProgressBar bar;
    ASSERT_EQ(placeCopyProgressBar(bar, note), 1);
    ASSERT_EQ(bar.setPercent(100), 1);

    RECT client{};
    GetClientRect(note, &client);
    RECT text{};
    GetWindowRect(GetDlgItem(note, kBusyNoteTextId), &text);
    MapWindowPoints(nullptr, note, reinterpret_cast<POINT*>(&text), 2);
    RECT place{};
    bar.getRect(place);
    EXPECT_EQ(place.right - place.left, text.right - text.left - 5);
    EXPECT_EQ(place.bottom - place.top, 19);
    EXPECT_EQ(place.right, client.right - 15);
    EXPECT_EQ(place.top, client.bottom - 35);
    EXPECT_GE(place.top, text.bottom) << "the note leaves no room for the bar";
    EXPECT_GE(place.left, 0);
    EXPECT_EQ(bar.flags(), kProgressFitBlocks);

    const Capture capture(note);
    EXPECT_EQ(capture.at(place.left + 5, place.top + 9), kBarColor);
    bar.free();
    DestroyWindow(note);
}

} // namespace
