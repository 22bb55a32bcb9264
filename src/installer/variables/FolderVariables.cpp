#include "installer/variables/FolderVariables.h"

#include "installer/state/InstallerState.h"
#include "installer/system/ShortPathName.h"
#include "installer/text/DecimalNumbers.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableList.h"

namespace {
constexpr std::int64_t kMinutesPerDay = 1440;
}

void setFolderVariable(const char* path, ByteString& value, ByteString* shortValue)
{
    ByteString stored(path ? path : "");
    if (!stored.empty() && stored.at(stored.length() - 1) == '\\')
        stored.erase(stored.length() - 1, 1);
    if (shortValue)
        *shortValue = shortPathName(stored.cStr());
    value = std::move(stored);
}

void appendStartupVariables(std::int64_t minutesSince2000, bool isAdmin)
{
    const auto days = static_cast<std::int32_t>(minutesSince2000 / kMinutesPerDay);
    appendKnownVariable("<DS2000>", kVariableInteger, ByteString(), decimalText(days), days);
    const std::int32_t admin = isAdmin ? 1 : 0;
    appendKnownVariable("<IsAdmin>", kVariableInteger, ByteString(), decimalText(admin), admin);
}

void presetVariableValues()
{
    for (const auto& variable : gPackageToc.variables) {
        expandFolderVariables(variable->defaultText);
        expandFolderVariables(variable->textA);
        expandFolderVariables(variable->textB);
        expandFolderVariables(variable->textC);
        if (variable->state == kVariableKnown && variable->valueText.empty()) {
            variable->valueText = variable->defaultText;
            variable->valueInt = decimalValue(variable->defaultText);
            if (variable->name.equalsCStr("<IT_Type>") && isInstallationType(variable->valueInt))
                gPackageToc.installationType = variable->valueInt;
        }
    }
}
