#pragma once
// The mouse over a page's hyperlinks and image buttons: which control is hot, the red colour of
// a hyperlink under the mouse, the hover frame of an image button, the hand cursor; and the
// repair, on the page's timer, of states that the mouse left without the page seeing it.
#include "installer/wizard/TemplateParser.h"

#include <cstdint>
#include <functional>
#include <vector>

// Bits of a page's hover state.
constexpr std::uint32_t kHoverTracking = 0x1;
constexpr std::uint32_t kHoverOverHot = 0x2;
constexpr std::uint32_t kHoverHotIsButton = 0x4;
// A control's hover flag: the image button shows its hover frame.
constexpr std::uint32_t kControlHovered = 0x1;

struct PageHover {
    std::uint32_t bits = 0;
    TemplateControl* hot = nullptr;
};

enum class CursorChange { None, Hand, Arrow };

// What the window layer must do after a change of hover state.
struct HoverEffects {
    CursorChange cursor = CursorChange::None;
    std::vector<TemplateControl*> repaint;      // hyperlinks whose colour changed
    std::vector<TemplateControl*> redrawButton; // image buttons whose frame changed
};

bool isHyperlink(const TemplateControl& control);
bool isImageButton(const TemplateControl& control);
// The control takes part in hover tracking.
bool isHoverTarget(const TemplateControl& control);

// The mouse moved to (x, y) in the page's client area; controls lie at their position plus
// (offsetX, offsetY). usable tells whether a control is enabled and visible.
HoverEffects trackMouseMove(PageHover& hover, const PointerList& controls, std::int32_t x, std::int32_t y,
                            std::int32_t offsetX, std::int32_t offsetY,
                            const std::function<bool(const TemplateControl&)>& usable);

// The mouse entered an image button (seen before the page's own move message).
HoverEffects enterImageButton(PageHover& hover, TemplateControl& button);

// The timer's repair: controls whose window no longer holds the cursor are restored.
HoverEffects restoreLeftControls(PageHover& hover, const PointerList& controls,
                                 const std::function<bool(const TemplateControl&)>& holdsCursor);

// A click while the mouse is over the hot control. Returns the hyperlink to open, or null (a
// button just loses its hover state).
const TemplateControl* clickHotControl(PageHover& hover);
