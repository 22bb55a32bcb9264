#pragma once
// The installer's own progress bar: not a window but a rectangle drawn onto a host window (a
// page or a dialog) from an off-screen bitmap, so that frequent updates do not flicker. Either
// a smooth bar with a centred "N %" text or a row of separate blocks. The host repaints it on
// WM_PAINT (redraw), since the bar draws only when told.
#include <windows.h>

#include <cstdint>

// flags
constexpr std::uint32_t kProgressSmooth = 0x1;        // smooth bar with percentage text
constexpr std::uint32_t kProgressFitBlocks = 0x2;     // fit the block width (block mode only)
constexpr std::uint32_t kProgressHidden = 0x4;        // nothing is drawn

class ProgressBar {
public:
    ProgressBar() { init(); }
    ~ProgressBar() { free(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // No memory DC, bitmap or brushes (the GDI objects must already be freed).
    void init();
    // Deletes the memory DC, the bitmap and both brushes, each when present.
    void free();
    // 1, or -2 (no host DC), -3 (no bitmap), -15 (bitmap not selected), -4 (edge not drawn),
    // -5 (no bar brush), -6 (no background brush). A failed creation holds no GDI objects.
    int create(HWND host, int x, int y, int width, int height, COLORREF barColor, std::uint32_t flags,
               COLORREF backgroundColor, COLORREF textColor);
    // 1; 0 without a memory DC, when hidden or without the host's DC; -6 (background fill
    // failed), -7 (bar fill failed), -8 (text failed), -9 (copy failed).
    int redraw();
    // A percent below 0 or above 100 is ignored (1); else the result of redraw.
    int setPercent(std::int32_t percent);
    // Stores the flags, fits the block width when asked; the result of redraw.
    int setFlags(std::uint32_t flags);
    void getRect(RECT& rect) const { rect = rect_; }
    void setRect(const RECT& rect) { rect_ = rect; }
    void fitBlockWidth();
    // 1, -10 (text extent failed) or -11 (text output failed).
    int drawPercentText();

    std::int32_t percent() const { return percent_; }
    std::uint32_t flags() const { return flags_; }
    std::int32_t blockWidth() const { return blockWidth_; }

private:
    int width() const { return rect_.right - rect_.left; }
    int height() const { return rect_.bottom - rect_.top; }
    int fillInside(HBRUSH brush, int left, int top, int right, int bottom);
    int drawBar();

    HWND host_;
    HDC memoryDc_;
    HBITMAP bitmap_;
    HBRUSH barBrush_;
    HBRUSH backgroundBrush_;
    std::int32_t percent_;
    RECT rect_;
    std::uint32_t flags_;
    std::int32_t blockWidth_;
};
