#include "installer/install/InstallRun.h"

#include "installer/state/InstallerRunRules.h"
#include "installer/system/ErrorBox.h"

InstallRunState gInstallRun;
InstallView gInstallView;
InstallOperations gInstallOperations;

namespace {
InstallMessageBox currentBox = nullptr;
}

InstallMessageBox setInstallMessageBox(InstallMessageBox box)
{
    InstallMessageBox previous = currentBox;
    currentBox = box;
    return previous;
}

int askUser(const char* text, std::uint32_t type)
{
    if (currentBox && !gFlags.silent)
        return currentBox(text, type);
    return silentMessageBoxAnswer(type);
}

void showInstallError(const char* text)
{
    showErrorBox(text);
}

void resetInstallRun()
{
    ProgressTracker progress = gInstallRun.progress;
    gInstallRun = InstallRunState();
    gInstallRun.progress = progress;
}
