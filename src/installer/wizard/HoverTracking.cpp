#include "installer/wizard/HoverTracking.h"

bool isHyperlink(const TemplateControl& control)
{
    return control.type == kControlStatic && !control.link.empty();
}

bool isImageButton(const TemplateControl& control)
{
    return control.type == kControlPushButton && (control.style & 0xB) == 0xB;
}

bool isHoverTarget(const TemplateControl& control)
{
    return isHyperlink(control) || isImageButton(control);
}

namespace {

bool highlighted(const TemplateControl& control)
{
    return control.textColour != control.normalTextColour;
}

void unhighlight(TemplateControl& control, HoverEffects& effects)
{
    if (isHyperlink(control) && highlighted(control)) {
        control.textColour = control.normalTextColour;
        effects.repaint.push_back(&control);
    }
    if (isImageButton(control) && (control.hoverFlags & kControlHovered) != 0) {
        control.hoverFlags &= ~kControlHovered;
        effects.redrawButton.push_back(&control);
    }
}

} // namespace

HoverEffects trackMouseMove(PageHover& hover, const PointerList& controls, std::int32_t x, std::int32_t y,
                            std::int32_t offsetX, std::int32_t offsetY,
                            const std::function<bool(const TemplateControl&)>& usable)
{
    HoverEffects effects;
    const bool hotWasLink = hover.hot != nullptr && isHyperlink(*hover.hot);
    hover.bits &= ~(kHoverOverHot | kHoverHotIsButton);
    hover.hot = nullptr;
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto& control = *static_cast<TemplateControl*>(controls.get(i));
        if (!isHoverTarget(control) || (usable && !usable(control)))
            continue;
        const std::int64_t left = std::int64_t(control.x) + offsetX;
        const std::int64_t top = std::int64_t(control.y) + offsetY;
        const bool inside = x >= left && x < left + control.width && y >= top && y < top + control.height;
        if (!inside) {
            unhighlight(control, effects);
            continue;
        }
        hover.hot = &control;
        hover.bits |= kHoverOverHot;
        if (isImageButton(control))
            hover.bits |= kHoverHotIsButton;
        if (isHyperlink(control) && !highlighted(control)) {
            effects.cursor = CursorChange::Hand;
            control.textColour = kColourHoveredLink;
            effects.repaint.push_back(&control);
        }
    }
    if (hover.hot == nullptr && hotWasLink)
        effects.cursor = CursorChange::Arrow;
    return effects;
}

HoverEffects enterImageButton(PageHover& hover, TemplateControl& button)
{
    HoverEffects effects;
    if ((button.hoverFlags & kControlHovered) != 0)
        return effects;
    hover.bits |= kHoverOverHot | kHoverHotIsButton;
    hover.hot = &button;
    button.hoverFlags |= kControlHovered;
    effects.redrawButton.push_back(&button);
    return effects;
}

HoverEffects restoreLeftControls(PageHover& hover, const PointerList& controls,
                                 const std::function<bool(const TemplateControl&)>& holdsCursor)
{
    HoverEffects effects;
    if ((hover.bits & kHoverOverHot) == 0)
        return effects;
    bool anyHoldsCursor = false;
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto& control = *static_cast<TemplateControl*>(controls.get(i));
        const bool active = (isHyperlink(control) && highlighted(control)) ||
                            (isImageButton(control) && (control.hoverFlags & kControlHovered) != 0);
        if (!active)
            continue;
        if (holdsCursor(control))
            anyHoldsCursor = true;
        else
            unhighlight(control, effects);
    }
    if (!anyHoldsCursor) {
        hover.bits &= ~(kHoverOverHot | kHoverHotIsButton);
        hover.hot = nullptr;
        effects.cursor = CursorChange::Arrow;
    }
    return effects;
}

const TemplateControl* clickHotControl(PageHover& hover)
{
    TemplateControl* hot = hover.hot;
    if (hot == nullptr || (hover.bits & kHoverOverHot) == 0)
        return nullptr;
    if (isImageButton(*hot)) {
        hover.bits &= ~(kHoverOverHot | kHoverHotIsButton);
        hot->hoverFlags &= ~kControlHovered;
        hover.hot = nullptr;
        return nullptr;
    }
    return isHyperlink(*hot) ? hot : nullptr;
}
