#pragma once
// The controls that must hold a value before the page's Next button (id 1) is enabled.
#include "installer/wizard/TemplateParser.h"

#include <cstdint>

// A control's state as far as the rule needs it.
struct RequiredState {
    std::int32_t type = 0;
    bool checked = false;        // check box, radio button
    bool hasText = false;        // edit, combo box
    bool hasSelection = false;   // list box, combo box
    std::int32_t ipFieldsFilled = 0;
};

// Types that the template's own flag makes required.
bool canBeRequired(std::int32_t controlType);

// True when no required control misses its value. The scan ends at the first missing check box,
// radio button, edit, combo or list box; a missing IP address does not end it but still counts.
template <typename StateOf>
bool requiredControlsFilled(const PointerList& required, StateOf stateOf);

bool isMissingValue(const RequiredState& state);

template <typename StateOf>
bool requiredControlsFilled(const PointerList& required, StateOf stateOf)
{
    bool missing = false;
    for (std::int32_t i = 0; i < required.count(); ++i) {
        const RequiredState state = stateOf(*static_cast<const TemplateControl*>(required.get(i)));
        if (isMissingValue(state)) {
            missing = true;
            if (state.type != kControlIpAddress)
                break;
        }
    }
    return !missing;
}
