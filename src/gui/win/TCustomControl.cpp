#include "gui/win/TCustomControl.h"

namespace kv {

void TCustomControl::PaintWindow(HDC DC)
{
    FCanvas.Lock();
    struct Unbind {
        TCanvas& canvas;
        ~Unbind()
        {
            canvas.SetHandle(nullptr);
            canvas.Unlock();
        }
    } unbind{FCanvas};
    FCanvas.SetHandle(DC);
    Paint();
}

} // namespace kv
