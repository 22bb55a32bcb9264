#include "installer/wizard/win/StandardPage.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/PageServices.h"

namespace {

enum ButtonText : std::size_t { kBackText = 0, kCancelText = 2, kInstallText = 3, kNextText = 4 };

} // namespace

ByteString formattedLanguageText(std::size_t n, const ByteString& first, const ByteString* second)
{
    ByteString a(first);
    ByteString b(second ? *second : ByteString());
    ByteString text;
    if (second)
        text.format(gLanguageTexts[n].cStr(), a.cStr(), b.cStr());
    else
        text.format(gLanguageTexts[n].cStr(), a.cStr());
    return text;
}

HWND StandardPage::item(std::int32_t id) const
{
    const TemplateControl* control = findControlById(id);
    return control && control->type != kControlProgressBar ? static_cast<HWND>(control->window) : nullptr;
}

void StandardPage::setItemText(std::int32_t id, const ByteString& utf8) const
{
    if (HWND control = item(id))
        setControlText(control, utf8);
}

void StandardPage::setItemLanguageText(std::int32_t id, std::size_t text) const
{
    setItemText(id, gLanguageTexts[text]);
}

bool StandardPage::onInitDialog(HWND, WPARAM, LPARAM)
{
    if (gMainInstaller.currentPageIndex < 1)
        if (HWND back = item(3))
            EnableWindow(back, FALSE);
    if (hasOwnWindow()) {
        if (gInstallerContext.optionWord & kOptionCaptionsFromWindowTitle)
            setControlText(window, gBackgroundStyle.windowTitle);
        else if (captionText_ < gLanguageTexts.size())
            setControlText(window, gLanguageTexts[captionText_]);
    }
    setItemLanguageText(3, kBackText);
    setItemLanguageText(2, kCancelText);
    // "Install" only on the page just before the installation page; earlier pages say "Next".
    const bool installationNext = nextPageIsInstallation(gPackageToc.pageSequence, gMainInstaller.currentPageIndex);
    setItemLanguageText(1, installationNext ? kInstallText : kNextText);
    initPage();
    return true;
}

bool StandardPage::pageCommand(std::int32_t, std::int32_t, LPARAM)
{
    return false;
}

void StandardPage::goForward()
{
    closeTemplatePage(*this, false);
    if (pageServices().goNext)
        pageServices().goNext();
}

void StandardPage::goBackward()
{
    closeTemplatePage(*this, false);
    if (pageServices().goBack)
        pageServices().goBack();
}

bool StandardPage::onCommand(WPARAM wParam, LPARAM lParam)
{
    const std::int32_t id = LOWORD(wParam);
    const std::int32_t code = HIWORD(wParam);
    if (pageCommand(id, code, lParam))
        return true;
    if (code != 0)
        return false;
    const PageServices& services = pageServices();
    switch (id) {
    case 1:
        if (leaveForward())
            goForward();
        return true;
    case 3:
        leaveBack();
        goBackward();
        return true;
    case 2:
        if (services.confirmExit && !services.confirmExit())
            return true;
        leaveCancelled();
        closeTemplatePage(*this, false);
        if (services.endInstaller)
            services.endInstaller();
        return true;
    default: return true;
    }
}
