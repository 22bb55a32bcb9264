#include "installer/wizard/win/PageServices.h"

#include "installer/text/Utf8.h"

#include <shellapi.h>

#include <string>

namespace {

void openWithShell(const char* utf8Link)
{
    const auto link = utf8ToWide(utf8Link);
    if (!link)
        return;
    const std::wstring target(link->begin(), link->end());
    ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

PageServices makeDefaults()
{
    PageServices services;
    services.openLink = openWithShell;
    return services;
}

} // namespace

PageServices& pageServices()
{
    static PageServices services = makeDefaults();
    return services;
}
