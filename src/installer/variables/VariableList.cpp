#include "installer/variables/VariableList.h"

#include "installer/memory/FatalError.h"
#include "installer/state/InstallerState.h"

#include <memory>
#include <new>

std::int32_t findVariableIndex(const char* name)
{
    if (!name)
        return -1;
    const auto& variables = gPackageToc.variables;
    for (std::size_t i = 0; i < variables.size(); ++i)
        if (variables[i]->name.equalsCStr(name))
            return static_cast<std::int32_t>(i);
    return -1;
}

InstallerVariable* findVariable(const char* name)
{
    const std::int32_t index = findVariableIndex(name);
    return index < 0 ? nullptr : gPackageToc.variables[static_cast<std::size_t>(index)].get();
}

InstallerVariable& appendKnownVariable(const char* name, std::int32_t kind, const ByteString& defaultText,
                                       const ByteString& valueText, std::int32_t valueInt)
{
    std::unique_ptr<InstallerVariable> variable(new (std::nothrow) InstallerVariable);
    if (!variable)
        fatalError(nullptr);
    variable->name.assignCStr(name);
    variable->kind = kind;
    variable->state = kVariableKnown;
    variable->flags = 0;
    variable->defaultText = defaultText;
    variable->valueText = valueText;
    variable->valueInt = valueInt;
    try {
        gPackageToc.variables.push_back(std::move(variable));
    } catch (const std::bad_alloc&) {
        fatalError(nullptr);
    }
    return *gPackageToc.variables.back();
}
