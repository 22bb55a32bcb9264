#include "installer/wizard/win/PageServices.h"

#include "installer/text/Utf8.h"
#include "installer/text/win/WideName.h"

#include <shellapi.h>

#include <string>

namespace {

void openWithShell(const char* utf8Link)
{
    if (!utf8Link)
        return;
    ShellExecuteW(nullptr, L"open", WideName(utf8Link), nullptr, nullptr, SW_SHOWMAXIMIZED);
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
