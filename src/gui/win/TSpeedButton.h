#pragma once
// A small button that draws its glyph, or else its caption in its own font, in its middle; flat
// buttons draw no border. Buttons of
// one parent with the same non-zero GroupIndex form a group in which exactly one is down: a click
// puts the clicked one down and the others up.
#include "gui/win/TBitmap.h"
#include "gui/win/TCustomControl.h"

namespace kv {

class TSpeedButton : public TCustomControl {
public:
    explicit TSpeedButton(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 23, 22); }
    std::string ClassName() const override { return "TSpeedButton"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; Invalidate(); }
    // The picture in the button's middle; its pixels of the colour of its bottom-left pixel let
    // the button show through. An empty glyph shows the caption instead.
    TBitmap& Glyph() { return FGlyph; }
    // The button takes a copy of the picture.
    void SetGlyph(TBitmap& Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; Invalidate(); }
    std::int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(std::int32_t Value) { FGroupIndex = Value; }
    bool Down() const { return FDown; }
    // Down in a group puts the group's other buttons up.
    void SetDown(bool Value);

    void Click() override;

protected:
    void Paint() override;
    bool EraseBackground(HDC) override { return true; }

private:
    void PaintGlyph(HDC DC);

    std::string FCaption;
    TBitmap FGlyph;
    bool FFlat = false;
    bool FDown = false;
    std::int32_t FGroupIndex = 0;
};

} // namespace kv
