#include "installer/wizard/PageNavigation.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/PageSequence.h"

namespace {

bool isStandardPage(std::int32_t type)
{
    return type >= 1 && type <= 11;
}

std::int32_t runCustomStep(NavigationHost& host, std::int32_t type)
{
    return type >= kFirstCustomStep ? host.runStep(type) : -1;
}

// Leaving a page forward: the finish page runs the finish step, the installation page the
// installation step.
std::int32_t runStepLeaving(NavigationHost& host, std::int32_t type)
{
    if (isStandardPage(type))
        return host.runStep(type);
    if (type == kFinishPage)
        return host.runStep(kFinishStep);
    if (type == kInstallationPage)
        return host.runStep(kInstallationStep);
    return runCustomStep(host, type);
}

// Landing on a page going back: the finish and installation pages have no step here.
std::int32_t runStepLanding(NavigationHost& host, std::int32_t type)
{
    return isStandardPage(type) ? host.runStep(type) : runCustomStep(host, type);
}

bool hiddenSystemPage(const TemplateEntry& page, NavigationHost& host)
{
    return page.pageType == kSystemInfoPage && host.systemPageOnlyOnProblems() && !host.systemInfoFoundProblems();
}

// A page seen once already or whose condition fails is passed; a components page passed that
// way under a custom installation still takes its choices.
bool passedByItsRules(const TemplateEntry& page, NavigationHost& host)
{
    if (!(page.showOnce && page.shown) && host.conditionHolds(page))
        return false;
    if (page.pageType == kComponentsPage && host.installationType() == kCustomInstallation)
        host.evaluateComponentsSilently();
    return true;
}

void showEntry(NavigationState& state, NavigationHost& host, std::int32_t index)
{
    state.pageIndex = index;
    host.showPage(state.pages[std::size_t(index)].pageType);
}

} // namespace

void goNext(NavigationState& state, NavigationHost& host, bool skipCurrentStep)
{
    auto& pages = state.pages;
    std::int32_t& index = state.pageIndex;
    if (index < -1)
        index = -1;
    if (index > std::int32_t(pages.size()))
        index = std::int32_t(pages.size());
    // The entry being left, where the wizard stays when a step asks it to.
    const std::int32_t left = index;
    bool runStep = !skipCurrentStep;
    for (;;) {
        const bool onEntry = index >= 0 && std::size_t(index) < pages.size();
        const std::int32_t leaving = onEntry ? pages[std::size_t(index)].pageType : -1;
        if (runStep) {
            if (!onEntry) {
                if (index < 0)
                    host.runFirstStep();
            } else if (leaving <= 0) {
                host.runFirstStep();
            } else if (runStepLeaving(host, leaving) > 0 && leaving != kInstallationPage) {
                // Stay on the page being left, whatever the rules say about it now; with no page
                // left yet, the first entry is shown as going back would show it.
                if (left >= 0 && std::size_t(left) < pages.size())
                    showEntry(state, host, left);
                else if (!pages.empty())
                    showEntry(state, host, 0);
                return;
            }
        }
        runStep = true;
        if (std::size_t(index + 1) <= pages.size())
            ++index;
        if (sequenceEnded(pages, index)) {
            host.destroyCurrentPage();
            host.runStep(kFinishStep);
            host.endWizard();
            return;
        }
        TemplateEntry& entry = pages[std::size_t(index)];
        if (hiddenSystemPage(entry, host))
            continue;
        if ((leaving == kLicensePage || entry.pageType == kInstallationPage) && !state.prerequisitesDone) {
            state.prerequisitesDone = true;
            host.checkPrerequisites();
        }
        if (passedByItsRules(entry, host))
            continue;
        if (entry.pageType == kComponentsPage && host.installationType() != kCustomInstallation
            && hasPageType(pages, kInstallTypePage))
            continue;
        entry.shown = true;
        host.showPage(entry.pageType);
        return;
    }
}

void goBack(NavigationState& state, NavigationHost& host, bool skipLandingStep)
{
    auto& pages = state.pages;
    std::int32_t& index = state.pageIndex;
    if (pages.empty())
        return;
    if (index > std::int32_t(pages.size()))
        index = std::int32_t(pages.size());
    if (index <= 0) {
        showEntry(state, host, 0);
        return;
    }
    bool runStep = !skipLandingStep;
    for (;;) {
        --index;
        const TemplateEntry& entry = pages[std::size_t(index)];
        // Going back over the installation page ends the wizard: the installation stays done.
        if (entry.pageType == kInstallationPage) {
            host.endWizard();
            return;
        }
        if (runStep && runStepLanding(host, entry.pageType) == 0) {
            goNext(state, host, true);
            return;
        }
        runStep = true;
        const bool passed = hiddenSystemPage(entry, host) || passedByItsRules(entry, host)
            || (entry.pageType == kComponentsPage && host.installationType() != kCustomInstallation);
        if (!passed) {
            host.showPage(entry.pageType);
            return;
        }
        if (index <= 0) {
            // Everything before was passed: the first entry is shown again whatever its rules say.
            showEntry(state, host, 0);
            return;
        }
    }
}
