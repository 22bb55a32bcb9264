#pragma once
// The page object made for each page type when the main window is asked to show it. The owners
// of the page types put their makers here; a type without one is a custom template page.
#include "installer/wizard/win/TemplatePage.h"

#include <cstdint>
#include <functional>
#include <memory>

using PageMaker = std::function<std::unique_ptr<TemplatePage>()>;

void setPageMaker(std::int32_t pageType, PageMaker maker);
// The page object for pageType (a custom page when its type has no maker).
std::unique_ptr<TemplatePage> makePage(std::int32_t pageType);
