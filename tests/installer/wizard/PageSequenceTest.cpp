// Where the current page stands in the wizard's page sequence.
#include "installer/wizard/PageSequence.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

std::vector<TemplateEntry> pagesOfTypes(std::initializer_list<std::int32_t> types)
{
    std::vector<TemplateEntry> pages;
    for (const std::int32_t type : types) {
        pages.emplace_back();
        pages.back().pageType = type;
    }
    return pages;
}

} // namespace

TEST(PageSequence, QuestionsAboutTheCurrentPage)
{
    // welcome, license, installation, finish, and the uninstaller's template last
    const auto withUninstaller = pagesOfTypes({1, 2, kInstallationPage, 15, kUninstallerTemplatePage});
    const auto plain = pagesOfTypes({1, kInstallationPage, 15});
    struct Case {
        const char* what;
        const std::vector<TemplateEntry>& pages;
        std::int32_t current;
        bool ahead, last, nextInstalls;
    };
    const Case cases[] = {
        {"first page", withUninstaller, 0, true, false, false},
        {"page before the installation", withUninstaller, 1, true, false, true},
        {"the installation page itself", withUninstaller, 2, false, false, false},
        {"finish page, the uninstaller's template does not count", withUninstaller, 3, false, true, false},
        {"finish page of a sequence without it", plain, 2, false, true, false},
        {"a page before it", plain, 1, false, false, false},
        {"an index past the end", plain, 7, false, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(installationPageAhead(c.pages, c.current), c.ahead) << c.what;
        EXPECT_EQ(isLastPage(c.pages, c.current), c.last) << c.what;
        EXPECT_EQ(nextPageIsInstallation(c.pages, c.current), c.nextInstalls) << c.what;
    }
    EXPECT_TRUE(hasPageType(withUninstaller, kUninstallerTemplatePage));
    EXPECT_FALSE(hasPageType(plain, kUninstallerTemplatePage));
    EXPECT_FALSE(installationPageAhead(pagesOfTypes({1, 2}), 0)) << "no installation page at all";
}
