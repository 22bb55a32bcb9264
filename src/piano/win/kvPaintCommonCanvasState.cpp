#include "piano/win/kvPaintCommonCanvasState.h"

namespace kv {

void TKVCanvasStateKeeper::SavePaintState(TCanvas& Canvas)
{
    PaintSaveFont.Assign(Canvas.Font());
    PaintSavePen.Assign(Canvas.Pen());
    PaintSaveBrush.Assign(Canvas.Brush());
}

void TKVCanvasStateKeeper::RestorePaintState(TCanvas& Canvas)
{
    Canvas.Font().Assign(PaintSaveFont);
    Canvas.Pen().Assign(PaintSavePen);
    Canvas.Brush().Assign(PaintSaveBrush);
}

void TKVCanvasStateKeeper::ApplyBrush(TCanvas& Canvas, const TBrush* Obj) { Canvas.Brush().Assign(Obj ? *Obj : CachedBrush); }
void TKVCanvasStateKeeper::ApplyFont(TCanvas& Canvas, const TFont* Obj) { Canvas.Font().Assign(Obj ? *Obj : CachedFont); }
void TKVCanvasStateKeeper::ApplyPen(TCanvas& Canvas, const TPen* Obj) { Canvas.Pen().Assign(Obj ? *Obj : CachedPen); }
void TKVCanvasStateKeeper::StoreBrush(TCanvas& Canvas, TBrush* Obj) { (Obj ? *Obj : CachedBrush).Assign(Canvas.Brush()); }
void TKVCanvasStateKeeper::StoreFont(TCanvas& Canvas, TFont* Obj) { (Obj ? *Obj : CachedFont).Assign(Canvas.Font()); }
void TKVCanvasStateKeeper::StorePen(TCanvas& Canvas, TPen* Obj) { (Obj ? *Obj : CachedPen).Assign(Canvas.Pen()); }

void TKVCanvasStateKeeper::ApplyCanvasState(TCanvas& Canvas, TCanvas* Source)
{
    TCanvas& from = Source ? *Source : CachedCanvas;
    Canvas.Brush().Assign(from.Brush());
    Canvas.Pen().Assign(from.Pen());
    Canvas.Font().Assign(from.Font());
}

void TKVCanvasStateKeeper::StoreCanvasState(TCanvas& Canvas, TCanvas* Target)
{
    TCanvas& to = Target ? *Target : CachedCanvas;
    to.Brush().Assign(Canvas.Brush());
    to.Pen().Assign(Canvas.Pen());
    to.Font().Assign(Canvas.Font());
}

} // namespace kv
