#include "installer/wizard/win/PageHandlers.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/win/PageMakers.h"
#include "installer/wizard/win/StandardPages.h"
#include "installer/wizard/win/SystemInfoOnce.h"
#include "installer/wizard/win/WizardNavigator.h"

namespace {

using PageFactory = std::unique_ptr<TemplatePage> (*)();

constexpr PageFactory kStandardPages[] = {
    nullptr,           makeLanguagePage,     makeWelcomePage,       makeLicensePage,
    makeReadmePage,    makeSystemInfoPage,   makeUserInfoPage,      makeDestinationPage,
    makeProgramGroupPage, makeInstallTypePage, makeComponentsPage,  makeSummaryPage,
};

} // namespace

std::unique_ptr<TemplatePage> makeStandardPage(std::int32_t pageType)
{
    if (pageType < 1 || pageType >= std::int32_t(std::size(kStandardPages)))
        return nullptr;
    return kStandardPages[pageType]();
}

void connectStandardPages()
{
    for (std::int32_t type = 1; type < std::int32_t(std::size(kStandardPages)); ++type)
        setPageMaker(type, kStandardPages[type]);
    wizardSteps().evaluateComponentsSilently = evaluateComponentsSilently;
    wizardSteps().systemInfoFoundProblems = [] {
        collectSystemInfoOnce(nullptr);
        return gSystemInfoResults.failures > 0 || gSystemInfoResults.unknowns > 0;
    };
}
