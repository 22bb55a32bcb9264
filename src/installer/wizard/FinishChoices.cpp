#include "installer/wizard/FinishChoices.h"

#include "installer/state/InstallerState.h"

FinishChoices finishChoices(std::uint32_t& optionWord, bool renamesPending)
{
    if (renamesPending) {
        optionWord |= kOptionRestartAtEnd;
        optionWord &= ~(kOptionOpenReadme | kOptionStartProgram | kOptionThirdFinishItem);
    }
    if (optionWord & kOptionRestartAtEnd)
        optionWord &= ~kOptionThirdFinishItem;
    const auto has = [&](std::uint32_t bit) { return (optionWord & bit) != 0; };
    FinishChoices choices;
    choices.restartOffered = has(kOptionRestartAtEnd);
    choices.restartLaterEnabled = choices.restartOffered && !has(kOptionRestartChoiceFixed);
    choices.launchShown = has(kOptionStartProgram);
    choices.launchChecked = choices.launchShown && has(kOptionStartProgramPreselected);
    choices.readmeShown = has(kOptionOpenReadme);
    choices.readmeChecked = choices.readmeShown && has(kOptionOpenReadmePreselected);
    choices.extraShown = has(kOptionThirdFinishItem);
    if (choices.extraShown && !choices.launchShown)
        choices.extraPlace = FinishChoices::ExtraPlace::LaunchBox;
    else if (choices.extraShown && !choices.readmeShown)
        choices.extraPlace = FinishChoices::ExtraPlace::ReadmeBox;
    return choices;
}
