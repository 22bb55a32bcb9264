#include "installer/wizard/win/CheckTreeImages.h"

namespace {

constexpr int kImageSize = 13;
constexpr int kStateCount = 4;
constexpr int kCheckBitmapId = 127;

void drawBox(HDC dc, int left, int state)
{
    const RECT box{left, 0, left + kImageSize, kImageSize};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const COLORREF ink = state == 2 ? RGB(128, 128, 128) : RGB(0, 0, 0);
    HBRUSH frame = CreateSolidBrush(ink);
    FrameRect(dc, &box, frame);
    if (state == 3) {
        const RECT inner{left + 3, 3, left + kImageSize - 3, kImageSize - 3};
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(dc, &inner, grey);
        DeleteObject(grey);
    } else if (state == 1 || state == 2) {
        HPEN pen = CreatePen(PS_SOLID, 2, ink);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, left + 3, 6, nullptr);
        LineTo(dc, left + 5, 9);
        LineTo(dc, left + 10, 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    DeleteObject(frame);
}

HBITMAP drawnStrip()
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, kImageSize * kStateCount, kImageSize);
    HGDIOBJ old = SelectObject(memory, strip);
    for (int state = 0; state < kStateCount; ++state)
        drawBox(memory, state * kImageSize, state);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return strip;
}

} // namespace

HIMAGELIST makeCheckStateImages()
{
    HBITMAP strip = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCheckBitmapId));
    if (!strip)
        strip = drawnStrip();
    HIMAGELIST images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR4, kStateCount, 4);
    if (images && strip)
        ImageList_Add(images, strip, nullptr);
    if (strip)
        DeleteObject(strip);
    return images;
}
