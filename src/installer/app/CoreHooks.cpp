#include "CoreHooks.h"

#include "FileSearchNoteDialog.h"
#include "InstallerExit.h"

#include "installer/core/DirectoryCreation.h"
#include "installer/core/ErrorBox.h"
#include "installer/core/FatalError.h"
#include "installer/core/FileSearchNote.h"
#include "installer/core/InstallerState.h"
#include "installer/core/RegistryView.h"
#include "installer/core/win/InstallerMessageBox.h"

namespace {

void showInstallerErrorBox(const char* text)
{
    errorBox(nullptr, text, nullptr);
}

void logCreatedFolder(const char* fullPath)
{
    gUninstallLog.createdFolders.appendCStr(fullPath);
    gUninstallLog.createdFolders.appendCStr("\r\n");
}

} // namespace

void installCoreHooks()
{
    setErrorBoxFunction(showInstallerErrorBox);
    setFatalErrorHandler(abortWithMessage);
    setCreatedFolderLog(logCreatedFolder);
    setFileSearchNote({openFileSearchNoteDialog, closeFileSearchNoteDialog});
    // The 64-bit view is chosen by the package; until it is read, the system's own view.
    setRegistryViewBits(0);
}
