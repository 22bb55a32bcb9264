#include "installer/wizard/win/PageTexts.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/win/TemplatePage.h"

void setItemLanguageText(HWND page, int id, std::size_t n)
{
    const HWND item = GetDlgItem(page, id);
    if (item && n < gLanguageTexts.size())
        setControlText(item, gLanguageTexts[n]);
}

void setCaptionFromBackgroundTitle(HWND page)
{
    setControlText(page, gBackgroundStyle.windowTitle);
}

void setCommonButtonTexts(HWND page)
{
    setItemLanguageText(page, kBackButton, kBackText);
    setItemLanguageText(page, kNextButton, kNextText);
    setItemLanguageText(page, kCancelButton, kCancelText);
}
