#include "installer/variables/VariableApi.h"

#include "installer/state/InstallerState.h"
#include "installer/text/DecimalNumbers.h"
#include "installer/variables/BuiltinVariableNames.h"
#include "installer/variables/VariableEvaluation.h"
#include "installer/variables/VariableList.h"

int INSTALLER_CALLBACK setVariableText(const char* name, const char* text)
{
    if (!name)
        return 1;
    // A copy first: the text may be one the installer handed out for this very variable.
    const ByteString value(text ? text : "");
    ByteString plain(value);
    const std::int32_t number = decimalValue(value);
    applySpecialVariable(name, plain.cStr(), number);
    if (InstallerVariable* variable = findVariable(name)) {
        variable->valueText = value;
        variable->state = kVariableKnown;
        variable->valueInt = number;
    } else if (!setBuiltinVariableText(name, plain.cStr())) {
        appendKnownVariable(name, kVariableText, value, value, number);
    }
    return 1;
}

const char* INSTALLER_CALLBACK getVariableText(const char* name)
{
    const std::int32_t index = findVariableIndex(name);
    if (index < 0)
        return builtinVariableText(name);
    evaluateVariable(index);
    return gPackageToc.variables[static_cast<std::size_t>(index)]->valueText.cStr();
}

int INSTALLER_CALLBACK setVariableInt(const char* name, std::int32_t value)
{
    if (!name)
        return 1;
    ByteString text = decimalText(value);
    applySpecialVariable(name, text.cStr(), value);
    if (InstallerVariable* variable = findVariable(name)) {
        variable->valueInt = value;
        variable->valueText = text;
    } else {
        appendKnownVariable(name, kVariableInteger, ByteString(), text, value);
    }
    return 1;
}

std::int32_t INSTALLER_CALLBACK getVariableInt(const char* name)
{
    const std::int32_t index = findVariableIndex(name);
    if (index < 0)
        return -1;
    evaluateVariable(index);
    return gPackageToc.variables[static_cast<std::size_t>(index)]->valueInt;
}
