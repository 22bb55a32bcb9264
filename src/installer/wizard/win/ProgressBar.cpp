#include "ProgressBar.h"

#include "installer/wizard/ProgressBarGeometry.h"

#include <cstdio>
#include <cstring>

namespace {

// Deletes a GDI object and forgets it, so that it is deleted once.
template <typename Handle>
void deleteObject(Handle& handle)
{
    if (handle)
        DeleteObject(handle);
    handle = nullptr;
}

// The host's DC for the time of one drawing.
class HostDc {
public:
    explicit HostDc(HWND host) : host_(host), dc_(host ? GetDC(host) : nullptr) {}
    ~HostDc()
    {
        if (dc_)
            ReleaseDC(host_, dc_);
    }
    HostDc(const HostDc&) = delete;
    HostDc& operator=(const HostDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND host_;
    HDC dc_;
};

} // namespace

void ProgressBar::init()
{
    host_ = nullptr;
    memoryDc_ = nullptr;
    bitmap_ = nullptr;
    barBrush_ = nullptr;
    backgroundBrush_ = nullptr;
    percent_ = 0;
    rect_ = RECT{0, 0, 0, 0};
    flags_ = 0;
    blockWidth_ = kDefaultBlockWidth;
}

void ProgressBar::free()
{
    // The DC goes first: it lets go of the bitmap selected into it.
    if (memoryDc_)
        DeleteDC(memoryDc_);
    memoryDc_ = nullptr;
    deleteObject(bitmap_);
    deleteObject(barBrush_);
    deleteObject(backgroundBrush_);
}

int ProgressBar::create(HWND host, int x, int y, int width, int height, COLORREF barColor, std::uint32_t flags,
                        COLORREF backgroundColor, COLORREF textColor)
{
    host_ = host;
    percent_ = 0;
    rect_ = RECT{x, y, x + width, y + height};
    if ((flags & kProgressSmooth) && (flags & kProgressFitBlocks))
        flags &= ~kProgressFitBlocks;
    flags_ = flags;
    free();

    {
        // Without a host the DC would be the screen's.
        const HostDc hostDc(host);
        if (!hostDc.get())
            return -2;
        memoryDc_ = CreateCompatibleDC(hostDc.get());
        if (memoryDc_ && width > 0 && height > 0)
            bitmap_ = CreateCompatibleBitmap(hostDc.get(), width, height);
        if (!bitmap_) {
            free();
            return -3;
        }
        if (!SelectObject(memoryDc_, bitmap_)) {
            free();
            return -15;
        }
    }

    RECT edge{0, 0, width, height};
    if (!DrawEdge(memoryDc_, &edge, EDGE_SUNKEN, BF_RECT)) {
        free();
        return -4;
    }
    SetBkMode(memoryDc_, TRANSPARENT);
    SetTextColor(memoryDc_, textColor);
    barBrush_ = CreateSolidBrush(barColor);
    if (!barBrush_) {
        free();
        return -5;
    }
    backgroundBrush_ = CreateSolidBrush(backgroundColor);
    if (!backgroundBrush_) {
        free();
        return -6;
    }

    if (flags_ & kProgressFitBlocks)
        fitBlockWidth();
    redraw();
    return 1;
}

void ProgressBar::fitBlockWidth()
{
    blockWidth_ = fitProgressBlockWidth(width());
}

int ProgressBar::fillInside(HBRUSH brush, int left, int top, int right, int bottom)
{
    if (left >= right || top >= bottom)
        return 1;
    const RECT area{left, top, right, bottom};
    return FillRect(memoryDc_, &area, brush) ? 1 : 0;
}

int ProgressBar::drawBar()
{
    const int filled = progressFilledWidth(width(), percent_);
    if (flags_ & kProgressSmooth)
        return fillInside(barBrush_, 2, 2, filled + 2, height() - 2) ? 1 : -7;
    const std::int32_t blocks = progressBlockCount(filled, blockWidth_);
    for (std::int32_t i = 0; i < blocks; ++i) {
        const ProgressSpan span = progressBlockSpan(i, blockWidth_, width());
        if (!fillInside(barBrush_, span.left, 3, span.right, height() - 3))
            return -7;
    }
    return 1;
}

int ProgressBar::redraw()
{
    if (!memoryDc_ || (flags_ & kProgressHidden))
        return 0;
    const HostDc hostDc(host_);
    if (!hostDc.get())
        return 0;
    if (!fillInside(backgroundBrush_, 2, 2, width() - 2, height() - 2))
        return -6;
    const int bar = drawBar();
    if (bar != 1)
        return bar;
    if ((flags_ & kProgressSmooth) && drawPercentText() != 1)
        return -8;
    if (!BitBlt(hostDc.get(), rect_.left, rect_.top, width(), height(), memoryDc_, 0, 0, SRCCOPY))
        return -9;
    return 1;
}

int ProgressBar::drawPercentText()
{
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", static_cast<int>(percent_));
    const int length = static_cast<int>(std::strlen(text));
    SIZE extent{};
    if (!GetTextExtentPoint32A(memoryDc_, text, length, &extent))
        return -10;
    // Clipped to the inside, so that the edge drawn at creation stays whole.
    const RECT inside{2, 2, width() - 2, height() - 2};
    if (!ExtTextOutA(memoryDc_, width() / 2 - extent.cx / 2, 2, ETO_CLIPPED, &inside, text, length, nullptr))
        return -11;
    return 1;
}

int ProgressBar::setPercent(std::int32_t percent)
{
    if (percent < 0 || percent > 100)
        return 1;
    percent_ = percent;
    return redraw();
}

int ProgressBar::setFlags(std::uint32_t flags)
{
    flags_ = flags;
    if (flags_ & kProgressFitBlocks)
        fitBlockWidth();
    return redraw();
}
