#include "installer/wizard/win/PageMakers.h"

#include "installer/wizard/win/CustomPage.h"

#include <map>

namespace {

std::map<std::int32_t, PageMaker>& makers()
{
    static std::map<std::int32_t, PageMaker> table;
    return table;
}

} // namespace

void setPageMaker(std::int32_t pageType, PageMaker maker)
{
    makers()[pageType] = std::move(maker);
}

std::unique_ptr<TemplatePage> makePage(std::int32_t pageType)
{
    const auto found = makers().find(pageType);
    if (found != makers().end() && found->second)
        if (std::unique_ptr<TemplatePage> page = found->second())
            return page;
    return std::make_unique<CustomPage>();
}
