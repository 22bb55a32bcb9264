#include "installer/variables/VariableApi.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/ProgramGroupFolder.h"

#include <cstring>

namespace {

// Option word bits of the finish options.
constexpr std::uint32_t kOptionRestartComputer = 1u << 1;
constexpr std::uint32_t kOptionOpenReadme = 1u << 2;
constexpr std::uint32_t kOptionLaunchProgram = 1u << 3;

struct OptionName {
    const char* name;
    std::uint32_t bit;
};

const OptionName kOptionNames[] = {
    {"<UseAllUsersStartMenu>", kOptionAllUsersStartMenu},
    {"<FinishedRestartComputer>", kOptionRestartComputer},
    {"<FinishedLaunchProgram>", kOptionLaunchProgram},
    {"<FinishedOpenReadme>", kOptionOpenReadme},
};

} // namespace

void applySpecialVariable(const char* name, const char*, std::int32_t value)
{
    if (!name)
        return;
    if (std::strcmp(name, "<IT_Type>") == 0) {
        if (isInstallationType(value))
            gPackageToc.installationType = value;
        return;
    }
    for (const OptionName& option : kOptionNames) {
        if (std::strcmp(name, option.name) != 0)
            continue;
        if (value != 0)
            gInstallerContext.optionWord |= option.bit;
        else
            gInstallerContext.optionWord &= ~option.bit;
        return;
    }
}
