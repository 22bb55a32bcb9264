#include "installer/wizard/RequiredControls.h"

bool canBeRequired(std::int32_t controlType)
{
    switch (controlType) {
    case kControlCheckBox:
    case kControlRadioButton:
    case kControlEdit:
    case kControlListBox:
    case kControlComboBox:
    case kControlIpAddress:
        return true;
    default:
        return false;
    }
}

bool isMissingValue(const RequiredState& state)
{
    switch (state.type) {
    case kControlCheckBox:
    case kControlRadioButton: return !state.checked;
    case kControlEdit: return !state.hasText;
    case kControlComboBox: return !state.hasText && !state.hasSelection;
    case kControlListBox: return !state.hasSelection;
    case kControlIpAddress: return state.ipFieldsFilled < 4;
    default: return false;
    }
}
