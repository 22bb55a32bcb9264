#include "WizardStart.h"

#include "InstallerExit.h"

#include "installer/install/FinishActions.h"
#include "installer/install/SystemChanges.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/wizard/PageNavigation.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/ConfirmExit.h"
#include "installer/wizard/win/DialogImage.h"
#include "installer/wizard/win/FinishPage.h"
#include "installer/wizard/win/InstallationPage.h"
#include "installer/wizard/win/MainWindow.h"
#include "installer/wizard/win/MessageLoop.h"
#include "installer/wizard/win/PageMakers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/TemplatePage.h"
#include "installer/wizard/win/WizardNavigator.h"

#include <windows.h>

namespace {

bool backgroundShown()
{
    return (gBackgroundStyle.flags & kBackgroundDrawn) && !gPackageToc.extractorMode;
}

HWND currentPageWindow()
{
    const TemplatePage* page = gMainInstaller.currentPage;
    return page && page->window ? page->window : nullptr;
}

} // namespace

bool prepareWizardWindows()
{
    const HWND window = createMainWindow(static_cast<HINSTANCE>(gInstallerContext.instance));
    if (!window)
        return false;
    if (loadDialogImage() < 0)
        messageBox(window, "Graphics initialization failed. Dialog image will not be shown",
                   gBackgroundStyle.windowTitle.empty() ? nullptr : gBackgroundStyle.windowTitle.cStr(),
                   MB_ICONWARNING);
    return true;
}

void showMainWindow()
{
    const HWND window = static_cast<HWND>(gMainInstaller.mainWindow);
    if (!window)
        return;
    ShowWindow(window, (gBackgroundStyle.flags & kBackgroundDrawn) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(window);
}

namespace {

// Leaving the wizard before or during the installation rolls back what the run did; once the run
// finished (its changes are committed) the installation stays and the installer ends as after
// its last page.
void leaveWizard()
{
    if (installationCompleted()) {
        PostQuitMessage(1);
        return;
    }
    shutdownInstaller(true);
}

} // namespace

void connectWizard()
{
    PageServices& services = pageServices();
    services.confirmExit = confirmExit;
    services.endInstaller = leaveWizard;
    services.installationRunning = installationRunning;
    services.backgroundShown = backgroundShown;
    connectPagesToNavigation();
    setCurrentPageWindowFunction(currentPageWindow);
    setPageMaker(kFinishPage, [] { return std::make_unique<FinishPage>(); });
    setPageMaker(kInstallationPage, [] { return std::make_unique<InstallationPage>(); });
    finishActions().applyPendingRenames = [] { applyPendingRenames(); };
    finishActions().launchAfterFinish = launchAfterFinish;
    finishActions().rebootNow = rebootNow;
    finishActions().finishStep = [] {
        if (wizardSteps().step)
            wizardSteps().step(kFinishStep);
    };
}

bool runWizard()
{
    wizardGoNext(false);
    const WPARAM code = messageLoop();
    // The wizard also ends with 1 where nothing was installed (a sequence without an installation
    // page): only a finished run counts as installed.
    return code == 1 && installationCompleted();
}
