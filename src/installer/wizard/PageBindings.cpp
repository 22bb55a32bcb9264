#include "installer/wizard/PageBindings.h"

#include "installer/state/InstallerState.h"
#include "installer/text/DecimalNumbers.h"
#include "installer/variables/VariableList.h"
#include "installer/wizard/TemplateParser.h"

namespace {

bool checksControl(const InstallerVariable& variable)
{
    const bool known = variable.state == kVariableKnown;
    if (variable.kind == kVariableInteger)
        return known ? variable.valueInt != 0 : variable.defaultText.equalsCStr("1");
    return (known ? variable.valueText : variable.defaultText).equalsCStr("1");
}

} // namespace

BindingDisplay bindingDisplay(std::int32_t controlType, const InstallerVariable& variable)
{
    BindingDisplay display;
    switch (controlType) {
    case kControlCheckBox:
    case kControlRadioButton:
        if (checksControl(variable))
            display.kind = BindingDisplay::Check;
        break;
    case kControlEdit:
    case kControlIpAddress:
        display.kind = BindingDisplay::Text;
        display.text = variable.state == kVariableKnown ? variable.valueText : variable.defaultText;
        break;
    case kControlListBox:
    case kControlComboBox:
        if (variable.valueInt >= 0) {
            display.kind = BindingDisplay::Selection;
            display.selection = variable.valueInt;
        }
        break;
    default: break;
    }
    return display;
}

BindingValue bindingValueOf(std::int32_t controlType, const ControlState& state)
{
    BindingValue value;
    switch (controlType) {
    case kControlCheckBox:
    case kControlRadioButton:
        // Checked or indeterminate.
        value.value = state.checkState == 1 || state.checkState == 2 ? 1 : 0;
        value.text = decimalText(value.value);
        break;
    case kControlEdit:
    case kControlIpAddress:
        value.text = state.text;
        value.value = decimalValue(state.text);
        break;
    case kControlListBox:
    case kControlComboBox:
        value.value = state.selection;
        value.text = decimalText(state.selection);
        break;
    default: break;
    }
    return value;
}

void storeBoundVariable(const ByteString& name, const BindingValue& value)
{
    ByteString plainName(name);
    if (InstallerVariable* variable = findVariable(plainName.cStr())) {
        // A fresh known integer variable in the old entry's place.
        InstallerVariable fresh;
        fresh.name = variable->name;
        fresh.kind = kVariableInteger;
        fresh.state = kVariableKnown;
        fresh.valueText = value.text;
        fresh.valueInt = value.value;
        *variable = static_cast<InstallerVariable&&>(fresh);
        return;
    }
    appendKnownVariable(plainName.cStr(), kVariableInteger, ByteString(), value.text, value.value);
}
