#pragma once
// A line of text over a system static window, in its font colour on its own colour. A label is
// never narrower than its line of text: it grows to the right, to the left when right-aligned
// (its right edge stays) or on both sides when centred.
#include "gui/win/BackgroundBrush.h"
#include "gui/win/TWinControl.h"

#include <string>

namespace kv {

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* AOwner);
    std::string ClassName() const override { return "TLabel"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    // Set before the window is made: long text breaks into lines (off: it is cut at the edge).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }

    // The width of the caption in the label's font.
    std::int32_t TextWidth();

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override { FitToText(); }

private:
    void FitToText();

    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FWordWrap = false;
    BackgroundBrush FBrush;
};

} // namespace kv
