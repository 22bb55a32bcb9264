#include "installer/wizard/win/InstallationPage.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallRun.h"
#include "installer/install/Mp3Conversion.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/text/win/TextConversion.h"
#include "installer/wizard/win/MessageLoop.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/PageTexts.h"
#include "installer/wizard/win/ProgressBar.h"

namespace {

constexpr std::size_t kInstallationCaption = 110;
constexpr std::size_t kInstallationNote = 111;
constexpr std::size_t kInstallationFailedText = 141;
constexpr int kNoteId = 21;
constexpr int kStatusLineId = 20;

bool gRunning = false;
bool gCompleted = false;

void pumpPendingMessages()
{
    while (pumpOneMessage() == kMessageDispatched) {
    }
}

} // namespace

bool installationRunning()
{
    return gRunning;
}

bool installationCompleted()
{
    return gCompleted;
}

InstallationPage::~InstallationPage()
{
    if (phaseBar || overallBar) {
        gInstallView.setPhaseBar = nullptr;
        gInstallView.setOverallBar = nullptr;
    }
    gInstallView.statusLine = nullptr;
}

ProgressBar* InstallationPage::barOf(int id) const
{
    const TemplateControl* control = findControlById(id);
    if (!control || control->type != kControlProgressBar)
        return nullptr;
    return static_cast<ProgressBar*>(control->window);
}

void InstallationPage::connectBars()
{
    phaseBar = barOf(kPhaseBarId);
    overallBar = barOf(kOverallBarId);
    // The bars live as long as the page's windows; the run reaches them only through the page.
    gInstallView.setPhaseBar = [this](std::int32_t percent) {
        if (ProgressBar* bar = barOf(kPhaseBarId))
            bar->setPercent(percent);
    };
    gInstallView.setOverallBar = [this](std::int32_t percent) {
        if (ProgressBar* bar = barOf(kOverallBarId))
            bar->setPercent(percent);
    };
    gInstallView.pumpMessages = pumpPendingMessages;
    // The file being installed or the phase, in item 20; nothing once the page's windows are gone.
    gInstallView.statusLine = [this](const char* text) {
        if (window)
            if (const HWND line = GetDlgItem(window, kStatusLineId))
                setWindowTextUtf8(line, text);
    };
}

bool InstallationPage::onInitDialog(HWND page, WPARAM, LPARAM)
{
    if (hasOwnWindow()) {
        if (gInstallerContext.optionWord & kOptionCaptionsFromWindowTitle)
            setCaptionFromBackgroundTitle(page);
        else if (!gLanguageTexts[kInstallationCaption].empty())
            setControlText(page, gLanguageTexts[kInstallationCaption]);
    }
    setCommonButtonTexts(page);
    setItemLanguageText(page, kNoteId, kInstallationNote);
    connectBars();
    if (!(gInstallerContext.optionWord & kOptionTwoProgressBars) && phaseBar && overallBar) {
        if (const HWND note = GetDlgItem(page, kNoteId))
            ShowWindow(note, SW_HIDE);
        RECT first{};
        phaseBar->getRect(first);
        overallBar->setRect(first);
        phaseBar->setFlags(kProgressHidden);
    }
    SetTimer(page, kInstallationStartTimer, kInstallationStartDelay, nullptr);
    return true;
}

bool InstallationPage::onPaint(WPARAM, LPARAM)
{
    if (ProgressBar* bar = barOf(kOverallBarId))
        bar->redraw();
    if (ProgressBar* bar = barOf(kPhaseBarId))
        bar->redraw();
    return false;
}

bool InstallationPage::onTimer(WPARAM wParam, LPARAM)
{
    if (wParam != kInstallationStartTimer)
        return false;
    const HWND page = window;
    KillTimer(page, kInstallationStartTimer);
    gRunning = true;
    bool installed = false;
    try {
        installed = runInstallation(page) == 1;
    } catch (...) {
        // A run that an exception ended is a failed run: reported and rolled back.
    }
    gRunning = false;
    const PageServices& services = pageServices();
    if (installed) {
        gCompleted = true;
        closeTemplatePage(*this, false);
        if (services.goNext)
            services.goNext();
        return true;
    }
    errorBox(page, gLanguageTexts[kInstallationFailedText].empty() ? "Installation failed"
                                                                   : gLanguageTexts[kInstallationFailedText].cStr(),
             nullptr);
    closeTemplatePage(*this, false);
    if (services.endInstaller)
        services.endInstaller();
    return true;
}

bool InstallationPage::onCommand(WPARAM wParam, LPARAM)
{
    // Back and Next stay enabled during the run and are left unanswered: only Cancel acts.
    if (LOWORD(wParam) != kCancelButton || HIWORD(wParam) != 0)
        return false;
    const PageServices& services = pageServices();
    // An MP3 conversion is held while the user is asked; on leaving, the music and the conversion stop.
    if (!confirmCancelDuringInstallation(services.confirmExit))
        return true;
    closeTemplatePage(*this, false);
    if (services.endInstaller)
        services.endInstaller();
    return true;
}
