#include "CopyProgressBar.h"

namespace {

constexpr int kBarHeight = 19;
constexpr int kRightMargin = 15;
constexpr int kTopFromBottom = 35;
constexpr COLORREF kBarColor = 0xC56B32;
constexpr COLORREF kTextColor = RGB(255, 255, 255);

} // namespace

int placeCopyProgressBar(ProgressBar& bar, HWND dialog)
{
    const HWND text = GetDlgItem(dialog, kBusyNoteTextId);
    RECT textRect{};
    RECT client{};
    if (!text || !GetWindowRect(text, &textRect) || !GetClientRect(dialog, &client))
        return -2;
    const int width = textRect.right - textRect.left - 5;
    return bar.create(dialog, client.right - kRightMargin - width, client.bottom - kTopFromBottom, width, kBarHeight,
                      kBarColor, kProgressFitBlocks, GetSysColor(COLOR_BTNFACE), kTextColor);
}
