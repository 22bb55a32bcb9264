#include "installer/install/SystemChanges.h"

#include "installer/install/InstallFileSystem.h"
#include "installer/variables/UninstallerPath.h"

void makeUninstallerPlaceholder()
{
    ByteString path = uninstallerPath();
    if (path.empty())
        return;
    InstallFileSystem& fs = installFileSystem();
    if (fs.exists(path.cStr()))
        return;
    if (fs.createEmpty(path.cStr()))
        gUninstallLog.placeholderMade = true;
}

void removeUninstallerPlaceholder()
{
    if (!gUninstallLog.placeholderMade)
        return;
    gUninstallLog.placeholderMade = false;
    ByteString path = uninstallerPath();
    installFileSystem().remove(path.cStr());
}
