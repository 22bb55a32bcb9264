#include "installer/state/InstallerShutdown.h"

#include "installer/state/InstallerRunRules.h"
#include "installer/state/InstallerState.h"

#include <cstdlib>

namespace {
EndInstallerHandler currentHandler = nullptr;
}

EndInstallerHandler setEndInstallerHandler(EndInstallerHandler handler)
{
    EndInstallerHandler previous = currentHandler;
    currentHandler = handler;
    return previous;
}

void endInstaller()
{
    if (currentHandler)
        currentHandler();
    // A handler that returns has not ended the installer: do it here.
    std::_Exit(installerExitCode(false, gFlags.revert));
}
