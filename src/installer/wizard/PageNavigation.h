#pragma once
// How the wizard moves through its page sequence: which entry is shown next going forward or
// back, which steps run for the entries passed, and when the wizard ends. No windows here: the
// rest of the installer answers through NavigationHost.
#include "installer/state/TemplateEntry.h"

#include <cstdint>
#include <vector>

constexpr std::int32_t kSystemInfoPage = 5;
constexpr std::int32_t kLicensePage = 3;
constexpr std::int32_t kInstallTypePage = 9;
constexpr std::int32_t kComponentsPage = 10;
constexpr std::int32_t kFinishPage = 12;
constexpr std::int32_t kFinishStep = 13;
constexpr std::int32_t kInstallationStep = 12;
// Custom pages from this type on have a plug-in step of their own.
constexpr std::int32_t kFirstCustomStep = 15;

class NavigationHost {
public:
    virtual ~NavigationHost() = default;
    // The plug-in's call before any page; its answer does not steer the navigation.
    virtual void runFirstStep() = 0;
    // The plug-in step and the package's step lists of a step (1 to 13, or a custom page type
    // from 15 on): above 0 stay on the page, 0 go on, below 0 the plug-in has no such step.
    virtual std::int32_t runStep(std::int32_t step) = 0;
    virtual bool conditionHolds(const TemplateEntry& page) = 0;
    // The wizard shows the system-information page only when the probes found something.
    virtual bool systemPageOnlyOnProblems() = 0;
    // The probes (run once) found failures or unknowns.
    virtual bool systemInfoFoundProblems() = 0;
    virtual void checkPrerequisites() = 0;
    virtual std::int32_t installationType() = 0;
    // The components' choices taken without showing their page.
    virtual void evaluateComponentsSilently() = 0;
    // Asks for the page of this type to be built once the current command has returned.
    virtual void showPage(std::int32_t pageType) = 0;
    virtual void destroyCurrentPage() = 0;
    // Ends the wizard's message loop; the installation, if it ran, counts as done.
    virtual void endWizard() = 0;
};

struct NavigationState {
    std::vector<TemplateEntry>& pages;
    // -1 before the first page.
    std::int32_t& pageIndex;
    bool& prerequisitesDone;
};

// Leaves the entry at the page index forward; skipCurrentStep leaves out that entry's step.
void goNext(NavigationState& state, NavigationHost& host, bool skipCurrentStep);
// Goes back from the entry at the page index; skipLandingStep leaves out the step of the first
// entry landed on.
void goBack(NavigationState& state, NavigationHost& host, bool skipLandingStep);
