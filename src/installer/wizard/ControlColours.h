#pragma once
// The colours a page gives a control when the control asks before painting.
#include "installer/wizard/TemplateParser.h"

#include <cstdint>

// Which colour question the control asks.
enum class ColourQuestion { Edit, ListBox, Static, Button };

struct ControlPaint {
    // False: the page leaves the question to the default handling.
    bool answered = false;
    std::uint32_t textColour = 0;
    // Transparent background mode, else the opaque back colour.
    bool transparent = false;
    std::uint32_t backColour = 0;
};

// hasBrush: the control has a brush of its own (list boxes are answered only then).
ControlPaint controlPaint(ColourQuestion question, const TemplateControl& control, bool hasBrush);
