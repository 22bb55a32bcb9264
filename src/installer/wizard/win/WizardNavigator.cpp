#include "installer/wizard/win/WizardNavigator.h"

#include "installer/package/BlockReader.h"
#include "installer/package/StoredCondition.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/TemplatePage.h"

#include <windows.h>

namespace {

class WindowNavigationHost : public NavigationHost {
public:
    void runFirstStep() override
    {
        if (wizardSteps().firstStep)
            wizardSteps().firstStep();
    }
    std::int32_t runStep(std::int32_t step) override
    {
        return wizardSteps().step ? wizardSteps().step(step) : -1;
    }
    bool conditionHolds(const TemplateEntry& page) override
    {
        if (page.condition.empty())
            return true;
        BlockReader reader(page.condition);
        ConditionPtr condition;
        // A condition that cannot be read hides nothing.
        if (!readStoredCondition(reader, condition))
            return true;
        return ::conditionHolds(condition.get());
    }
    bool systemPageOnlyOnProblems() override { return gInstallerContext.systemPageOnlyOnProblems != 0; }
    bool systemInfoFoundProblems() override
    {
        return !wizardSteps().systemInfoFoundProblems || wizardSteps().systemInfoFoundProblems();
    }
    void checkPrerequisites() override
    {
        if (wizardSteps().checkPrerequisites)
            wizardSteps().checkPrerequisites();
    }
    std::int32_t installationType() override { return gPackageToc.installationType; }
    void evaluateComponentsSilently() override
    {
        if (wizardSteps().evaluateComponentsSilently)
            wizardSteps().evaluateComponentsSilently();
    }
    void showPage(std::int32_t pageType) override
    {
        PostMessageA(static_cast<HWND>(gMainInstaller.mainWindow), WM_USER, WPARAM(pageType), 1);
    }
    void destroyCurrentPage() override { ::destroyCurrentPage(true); }
    void endWizard() override { PostQuitMessage(1); }
};

NavigationState installerNavigation()
{
    return {gPackageToc.pageSequence, gMainInstaller.currentPageIndex, gMainInstaller.prerequisitesDone};
}

} // namespace

WizardSteps& wizardSteps()
{
    static WizardSteps steps;
    return steps;
}

void wizardGoNext(bool skipCurrentStep)
{
    WindowNavigationHost host;
    NavigationState state = installerNavigation();
    goNext(state, host, skipCurrentStep);
}

void wizardGoBack(bool skipLandingStep)
{
    WindowNavigationHost host;
    NavigationState state = installerNavigation();
    goBack(state, host, skipLandingStep);
}

void connectPagesToNavigation()
{
    PageServices& services = pageServices();
    services.goNext = [] { wizardGoNext(false); };
    services.goBack = [] { wizardGoBack(false); };
    services.installationPageAhead = [] {
        return installationPageAhead(gPackageToc.pageSequence, gMainInstaller.currentPageIndex);
    };
}
