#include "installer/wizard/win/CustomPage.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/PageTexts.h"

bool CustomPage::onInitDialog(HWND window, WPARAM, LPARAM)
{
    setCommonButtonTexts(window);
    if ((gInstallerContext.optionWord & kOptionCaptionsFromWindowTitle) && hasOwnWindow())
        setCaptionFromBackgroundTitle(window);
    const auto& pages = gPackageToc.pageSequence;
    const std::int32_t index = gMainInstaller.currentPageIndex;
    if (nextPageIsInstallation(pages, index))
        setItemLanguageText(window, kNextButton, kInstallText);
    else if (isLastPage(pages, index))
        setItemLanguageText(window, kNextButton, kFinishText);
    return true;
}

bool CustomPage::onCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != 0)
        return false;
    const PageServices& services = pageServices();
    switch (LOWORD(wParam)) {
    case kNextButton:
        closeTemplatePage(*this, false);
        if (services.goNext)
            services.goNext();
        return true;
    case kBackButton:
        closeTemplatePage(*this, false);
        if (services.goBack)
            services.goBack();
        return true;
    case kCancelButton: {
        if (services.confirmExit && !services.confirmExit())
            return true;
        // Asked before the page closes: the index still tells where the page stands.
        const bool installationAhead = services.installationPageAhead && services.installationPageAhead();
        closeTemplatePage(*this, false);
        if (installationAhead && services.endInstaller)
            services.endInstaller();
        else
            PostQuitMessage(1);
        return true;
    }
    default:
        return false;
    }
}
