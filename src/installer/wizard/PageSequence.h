#pragma once
// Questions about the wizard's page sequence and where the current page stands in it.
#include "installer/state/TemplateEntry.h"

#include <cstdint>
#include <vector>

constexpr std::int32_t kInstallationPage = 13;
// The uninstaller's template travels in the sequence but is never shown by the installer.
constexpr std::int32_t kUninstallerTemplatePage = 14;

bool hasPageType(const std::vector<TemplateEntry>& pages, std::int32_t type);
// The first installation page lies after the current page.
bool installationPageAhead(const std::vector<TemplateEntry>& pages, std::int32_t current);
// The index stands at or past the last page the installer shows.
bool sequenceEnded(const std::vector<TemplateEntry>& pages, std::int64_t index);
// No page the installer shows comes after the current one.
bool isLastPage(const std::vector<TemplateEntry>& pages, std::int32_t current);
bool nextPageIsInstallation(const std::vector<TemplateEntry>& pages, std::int32_t current);
