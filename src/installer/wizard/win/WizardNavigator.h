#pragma once
// The wizard's navigation over the installer's windows: pages are asked for by posting WM_USER
// (page type, 1) to the main window and the wizard ends with WM_QUIT (1). The plug-in steps, the
// prerequisite check and the silent components evaluation are set by their owners; an empty one
// counts as a step without plug-in (-1) or as nothing to do.
#include "installer/wizard/PageNavigation.h"

#include <functional>

struct WizardSteps {
    std::function<void()> firstStep;
    std::function<std::int32_t(std::int32_t step)> step;
    std::function<void()> checkPrerequisites;
    std::function<void()> evaluateComponentsSilently;
    // The probes, run once; true when they found failures or unknowns.
    std::function<bool()> systemInfoFoundProblems;
};

WizardSteps& wizardSteps();

// Leave the current page forward or back, over the installer's state.
void wizardGoNext(bool skipCurrentStep);
void wizardGoBack(bool skipLandingStep);
// Lets the template pages' Next, Back and the questions about the sequence reach the navigation.
void connectPagesToNavigation();
