#pragma once
// The standard page types, made by the wizard when it shows one: language (1), welcome (2),
// license (3), readme (4), system information (5), user information (6), destination (7),
// program group (8), installation type (9), components (10), summary (11).
#include "installer/wizard/win/TemplatePage.h"

#include <memory>

std::unique_ptr<TemplatePage> makeLanguagePage();
std::unique_ptr<TemplatePage> makeWelcomePage();
std::unique_ptr<TemplatePage> makeLicensePage();
std::unique_ptr<TemplatePage> makeReadmePage();
std::unique_ptr<TemplatePage> makeSystemInfoPage();
std::unique_ptr<TemplatePage> makeUserInfoPage();
std::unique_ptr<TemplatePage> makeDestinationPage();
std::unique_ptr<TemplatePage> makeProgramGroupPage();
std::unique_ptr<TemplatePage> makeInstallTypePage();
std::unique_ptr<TemplatePage> makeComponentsPage();
std::unique_ptr<TemplatePage> makeSummaryPage();

// The components' choices, variables and bytes required as the components page would leave
// them, without showing it.
void evaluateComponentsSilently();
