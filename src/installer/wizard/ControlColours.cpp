#include "installer/wizard/ControlColours.h"

namespace {

bool isEditLike(const TemplateControl& control)
{
    return control.type == kControlEdit || control.type == kControlRichEdit;
}

ControlPaint opaque(const TemplateControl& control)
{
    return {true, control.textColour, false, control.backColour};
}

} // namespace

ControlPaint controlPaint(ColourQuestion question, const TemplateControl& control, bool hasBrush)
{
    switch (question) {
    case ColourQuestion::Edit:
        return isEditLike(control) ? opaque(control) : ControlPaint{};
    case ColourQuestion::ListBox:
        return control.type == kControlListBox && hasBrush ? opaque(control) : ControlPaint{};
    case ColourQuestion::Static:
        // Read-only edits ask this question too and keep their back colour.
        return isEditLike(control) ? opaque(control) : ControlPaint{true, control.textColour, true, control.backColour};
    case ColourQuestion::Button:
        return {true, control.textColour, true, control.backColour};
    }
    return {};
}
