#include "installer/core/TextExpansion.h"

#include "installer/core/InstallerState.h"
#include "installer/core/VariableEvaluation.h"

void expandVariables(ByteString& text, std::int32_t maxCount)
{
    const auto& variables = gPackageToc.variables;
    if (variables.empty() || text.findChar('<') < 0)
        return;
    // The list may grow while entries are evaluated; entries keep their place.
    for (std::size_t i = 0; i < variables.size() && static_cast<std::int64_t>(i) < maxCount; ++i) {
        InstallerVariable& variable = *variables[i];
        if (text.find(variable.name.cStr()) < 0)
            continue;
        if (variable.state != kVariableKnown)
            evaluateVariable(static_cast<std::int32_t>(i));
        text.replace(variable.name.cStr(), variable.valueText.cStr());
    }
}
