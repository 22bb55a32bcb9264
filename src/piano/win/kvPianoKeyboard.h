#pragma once
// The on-screen piano: a fixed 88-key keyboard or a free range of octaves, keys lit in colours
// while notes sound, labels, octave arrows, and mouse and computer keys played into notes. What
// it decides lives in TKVPianoKeyboardCore; this class adds the window, the painting and the
// mouse capture.
#include "gui/win/TSpeedButton.h"
#include "gui/win/TWinControl.h"
#include "piano/kvPianoKeyboardCore.h"
#include "piano/win/kvPaintCommonCanvasState.h"
#include "piano/win/kvPaintCommonPanel.h"

#include <array>
#include <string>

namespace kv {

extern const std::array<std::string, 11> OctaveNames;

class TKVPianoKeyboard : public TWinControl, public TKVPianoKeyboardCore, public TKVCanvasStateKeeper {
public:
    explicit TKVPianoKeyboard(TComponent* AOwner);
    ~TKVPianoKeyboard() override;
    std::string ClassName() const override { return "TKVPianoKeyboard"; }

    TPaintPanel* PaintBox() const { return FPaintBox; }
    TSpeedButton* ButtonL() const { return FScrollBtnL; }
    TSpeedButton* ButtonR() const { return FScrollBtnR; }

protected:
    void InvalidateKeys() override;
    void KeyboardSizeChanged() override;
    void ArrowsVisibleChanged(bool Visible) override;
    std::int32_t PaintBoxWidth() const override;
    TPoint PointerPosition(std::int32_t X, std::int32_t Y) const override;
    void ConfineAndCapture(const TRect& KeysArea) override;
    void FreeAndRelease() override;
    bool PaintBoxHasCapture() const override;
    bool EraseBackground(HDC) override { return false; }

private:
    void PaintBoxPaint();
    void PaintStrip(TCanvas& Cnv, const TKVPianoGeometry& Geometry);
    void PaintKeys(TCanvas& Cnv, const TKVPianoGeometry& Geometry);
    void PaintKey(TCanvas& Cnv, const TKVPianoGeometry& Geometry, std::int32_t Key);
    void PaintLabel(TCanvas& Cnv, std::int32_t Key, const TRect& R);
    TSpeedButton* MakeArrow(const std::string& Name, const std::string& Caption, bool Up);

    TPaintPanel* FPaintBox = nullptr;
    TSpeedButton* FScrollBtnL = nullptr;
    TSpeedButton* FScrollBtnR = nullptr;
    TBitmap tmpBmp;
};

} // namespace kv
