#pragma once
// The canvas-state keeper a drawing view carries: an off-screen image, and a font, pen and brush
// to begin each paint step from and to put back afterwards, whatever the previous step left.
#include "gui/win/TBitmap.h"
#include "gui/win/TCanvas.h"

namespace kv {

class TKVCanvasStateKeeper {
public:
    TBitmap CachedBmp;      // the off-screen image
    TCanvas CachedCanvas;   // only a holder of a font, pen and brush
    TFont PaintSaveFont;
    TFont CachedFont;
    TPen PaintSavePen;
    TPen CachedPen;
    TBrush PaintSaveBrush;
    TBrush CachedBrush;

    void SavePaintState(TCanvas& Canvas);
    void RestorePaintState(TCanvas& Canvas);
    // The canvas takes Obj, or the cached object when Obj is null.
    void ApplyBrush(TCanvas& Canvas, const TBrush* Obj);
    void ApplyFont(TCanvas& Canvas, const TFont* Obj);
    void ApplyPen(TCanvas& Canvas, const TPen* Obj);
    // Obj, or the cached object when Obj is null, takes the canvas's.
    void StoreBrush(TCanvas& Canvas, TBrush* Obj);
    void StoreFont(TCanvas& Canvas, TFont* Obj);
    void StorePen(TCanvas& Canvas, TPen* Obj);
    // Brush, then pen, then font, from or to Source (CachedCanvas when null).
    void ApplyCanvasState(TCanvas& Canvas, TCanvas* Source);
    void StoreCanvasState(TCanvas& Canvas, TCanvas* Target);
};

} // namespace kv
