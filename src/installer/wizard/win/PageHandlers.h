#pragma once
// Which page object the wizard makes for a page type: the standard pages' own, or none for the
// types whose pages lie elsewhere (installation, finish, custom pages).
#include "installer/wizard/win/TemplatePage.h"

#include <cstdint>
#include <memory>

// Null for a type without a standard page.
std::unique_ptr<TemplatePage> makeStandardPage(std::int32_t pageType);
// Registers the standard pages with the page makers and hands the silent components evaluation
// and the system probes to the wizard's steps.
void connectStandardPages();
