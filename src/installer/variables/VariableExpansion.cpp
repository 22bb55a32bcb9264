#include "installer/variables/TextExpansion.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/VariableEvaluation.h"

#include <algorithm>

namespace {

// Every text is tested against every entry: a plain search that needs no copy of the name.
bool contains(const ByteString& text, const ByteString& name)
{
    if (name.empty() || name.length() > text.length())
        return false;
    const std::uint8_t* end = text.data() + text.length();
    return std::search(text.data(), end, name.data(), name.data() + name.length()) != end;
}

} // namespace

void expandVariables(ByteString& text, std::int32_t maxCount)
{
    const auto& variables = gPackageToc.variables;
    if (variables.empty() || text.findChar('<') < 0)
        return;
    // The list may grow while entries are evaluated; entries keep their place.
    for (std::size_t i = 0; i < variables.size() && static_cast<std::int64_t>(i) < maxCount; ++i) {
        InstallerVariable& variable = *variables[i];
        if (!contains(text, variable.name))
            continue;
        if (variable.state != kVariableKnown)
            evaluateVariable(static_cast<std::int32_t>(i));
        text.replace(variable.name.cStr(), variable.valueText.cStr());
    }
}
