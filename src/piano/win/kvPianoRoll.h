#pragma once
// The piano roll: the song on a pitch-and-time grid with a key column, a ruler and an info
// strip, lit while it plays and edited with the mouse, with scroll bars, two zoom sliders and a
// zoom reset button. What it decides lives in TKVPianoRollCore; this class adds the windows, the
// painting in its layers and the mouse capture.
#include "gui/win/TScrollBar.h"
#include "gui/win/TSpeedButton.h"
#include "gui/win/TTrackBar.h"
#include "gui/win/TWinControl.h"
#include "piano/kvPianoRollCore.h"
#include "piano/win/kvPaintCommonCanvasState.h"
#include "piano/win/kvPaintCommonPanel.h"

#include <array>
#include <vector>

namespace kv {

// Colours of the pitch classes, shared by every roll; each roll's constructor draws them anew.
extern std::array<TColor, 12> PitchClassColors;

class TKVPianoRoll : public TWinControl, public TKVPianoRollCore, public TKVCanvasStateKeeper {
public:
    explicit TKVPianoRoll(TComponent* AOwner);
    ~TKVPianoRoll() override;
    std::string ClassName() const override { return "TKVPianoRoll"; }

    TPaintPanel* PaintBox() const { return FPaintBox; }
    TScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
    TScrollBar* VertScrollBar() const { return FVertScrollBar; }
    TTrackBar* HorzTrackBar() const { return FHorzTrackBar; }
    TTrackBar* VertTrackBar() const { return FVertTrackBar; }
    TSpeedButton* ResetButton() const { return FResetButton; }
    // The picture on the zoom reset button.
    TBitmap& ResetGlyph() { return FResetButton->Glyph(); }
    void SetResetGlyph(TBitmap& Value) { FResetButton->SetGlyph(Value); }

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void InvalidateRoll() override;
    TPoint PointerPosition() const override;
    void ConfineAndCapture(const TRect& NotesArea) override;
    void FreeAndRelease() override;
    bool PaintBoxHasCapture() const override;
    void ScrollBarsChanged() override;
    void ZoomChanged() override;
    void PointerShapeChanged() override;
    bool EraseBackground(HDC) override { return false; }

private:
    void PaintBoxPaint();
    void PaintKeyColumn(TCanvas& Cnv, const TKVPianoRollGeometry& G);
    void PaintRuler(TCanvas& Cnv, const TKVPianoRollGeometry& G);
    void PaintInfo(TCanvas& Cnv, const TKVPianoRollGeometry& G);
    void PaintNotes(TCanvas& Cnv, const TKVPianoRollGeometry& G, const std::vector<TKVRollNote>& Notes);
    void PaintBand(TCanvas& Cnv);
    void PaintSelection(TCanvas& Cnv, const TKVPianoRollGeometry& G);
    void PaintIndications(TCanvas& Cnv, const TKVPianoRollGeometry& G);
    TColor NoteColor(const TKVRollNote& Note) const;
    void SyncPaintBoxSize();

    TPaintPanel* FPaintBox = nullptr;
    TScrollBar* FHorzScrollBar = nullptr;
    TScrollBar* FVertScrollBar = nullptr;
    TTrackBar* FHorzTrackBar = nullptr;
    TTrackBar* FVertTrackBar = nullptr;
    TSpeedButton* FResetButton = nullptr;
    TBitmap tmpBmp;
};

// The grid of the notes area: every shown lane outlined, a line every 32nd note, darker on
// quarter notes. The lines are drawn once across all lanes.
void PaintRollGrid(TBitmap& Bmp, const TKVPianoRollGeometry& G);
// The notes in their colours, each filled where it lies inside Area and outlined with the
// bitmap canvas's pen on the edges that Area does not cut.
void PaintRollNotes(TBitmap& Bmp, const std::vector<TKVRollNote>& Notes, const std::vector<TColor>& Colors,
                    const TRect& Area);
// A vertical line from P1 to P2 (same x) when its x lies within Area's left and right edges,
// both included; the exclusive-or variant draws it in XOR.
void VerticalLine(TCanvas& Cnv, const TPoint& P1, const TPoint& P2, const TRect& Area);
void VerticalXorLine(TCanvas& Cnv, const TPoint& P1, const TPoint& P2, const TRect& Area);

} // namespace kv
