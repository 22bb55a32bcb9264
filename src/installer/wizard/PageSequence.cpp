#include "installer/wizard/PageSequence.h"

#include <algorithm>

bool hasPageType(const std::vector<TemplateEntry>& pages, std::int32_t type)
{
    return std::any_of(pages.begin(), pages.end(), [type](const TemplateEntry& page) { return page.pageType == type; });
}

bool installationPageAhead(const std::vector<TemplateEntry>& pages, std::int32_t current)
{
    const auto first = std::find_if(pages.begin(), pages.end(),
                                    [](const TemplateEntry& page) { return page.pageType == kInstallationPage; });
    return first != pages.end() && first - pages.begin() > current;
}

bool sequenceEnded(const std::vector<TemplateEntry>& pages, std::int64_t index)
{
    // The uninstaller's template is expected last; it shortens the sequence by one.
    const std::int64_t pagesUpTo = index + (hasPageType(pages, kUninstallerTemplatePage) ? 1 : 0);
    return pagesUpTo >= std::int64_t(pages.size());
}

bool isLastPage(const std::vector<TemplateEntry>& pages, std::int32_t current)
{
    return sequenceEnded(pages, std::int64_t(current) + 1);
}

bool nextPageIsInstallation(const std::vector<TemplateEntry>& pages, std::int32_t current)
{
    const std::int64_t next = std::int64_t(current) + 1;
    return next >= 0 && next < std::int64_t(pages.size()) && pages[next].pageType == kInstallationPage;
}
