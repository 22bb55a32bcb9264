#include "piano/win/kvPaintCommonPanel.h"

namespace kv {

void TPaintPanel::PaintWindow(HDC DC)
{
    TCanvas& canvas = Canvas();
    canvas.Lock();
    struct Unbind {
        TCanvas& canvas;
        ~Unbind()
        {
            canvas.SetHandle(nullptr);
            canvas.Unlock();
        }
    } unbind{canvas};
    canvas.SetHandle(DC);
    Paint();
}

void TPaintPanel::Paint()
{
    if (OnPaint) OnPaint(this);
}

bool TPaintPanel::EraseBackground(HDC DC)
{
    if (Tag() != 0) return TPanel::EraseBackground(DC);
    return false;
}

} // namespace kv
