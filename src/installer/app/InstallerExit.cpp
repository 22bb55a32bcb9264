#include "InstallerExit.h"

#include "installer/install/FileInstaller.h"
#include "installer/memory/FatalError.h"
#include "installer/system/FileSystem.h"
#include "installer/state/InstallerRunRules.h"
#include "installer/state/InstallerState.h"
#include "installer/package/PackageResources.h"
#include "installer/package/MemberExtraction.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/uninstall/UninstallCommit.h"

#include "installer/wizard/win/BackgroundPicture.h"
#include "installer/wizard/win/TemplatePage.h"

#include <windows.h>
#include <objbase.h>

namespace {

constexpr std::size_t kOutOfMemoryLanguageText = 11;

void deleteAndForget(ByteString& path)
{
    if (!path.empty())
        forceDelete(path.cStr());
    path = ByteString();
}


} // namespace

void deleteLocalCopy()
{
    if (gFlags.localCopy && !gPackagePath.empty())
        forceDelete(gPackagePath.cStr());
}

// The page on show goes with its windows; its bound values are stored first.
void destroyPageOnShow()
{
    if (TemplatePage* page = gMainInstaller.currentPage)
        closeTemplatePage(*page, false);
    destroyCurrentPage(true);
    gMainInstaller.currentPage = nullptr;
}

int cleanupAtExit(bool unloadPlugin)
{
    destroyPageOnShow();
    // The background picture goes with its bitmap, not only its device context.
    releaseBackgroundPicture();
    gMp3Helper.shutDown();
    gJpegHelper.unload();
    if (unloadPlugin)
        gPluginLibrary.unload();
    for (PageImage& image : gPackageToc.imageList)
        deleteAndForget(image.path);
    gPackageToc.imageList.clear();
    removeUiFonts();
    deleteAndForget(gTempFilePaths.pageImageBitmap);
    deleteAndForget(gTempFilePaths.musicFile);
    deleteAndForget(gTempFilePaths.musicLibrary);
    deleteAndForget(gTempFilePaths.imageLibrary);
    if (unloadPlugin)
        deleteAndForget(gTempFilePaths.pluginLibrary);
    deleteAndForget(gUninstallLog.templatePath);
    if (gInstallerContext.dialogImage) {
        DeleteObject(static_cast<HGDIOBJ>(gInstallerContext.dialogImage));
        gInstallerContext.dialogImage = nullptr;
    }
    return 1;
}

void shutdownInstaller(bool unloadPlugin)
{
    // A file the decoder is writing must be closed before a rollback can delete it.
    closeExtractionOutput();
    // A file left half written goes, and the file it was replacing comes back.
    abandonFileInProgress();
    rollbackOnExit();
    cleanupAtExit(unloadPlugin);
    deleteLocalCopy();
    ExitProcess(static_cast<UINT>(installerExitCode(false, gFlags.revert)));
}

void endAfterUncaughtException() noexcept
{
    static bool ending = false;
    if (!ending) {
        ending = true;
        try {
            shutdownInstaller(true);
        } catch (...) {
        }
    }
    ExitProcess(static_cast<UINT>(installerExitCode(false, gFlags.revert)));
}

void abortWithMessage(const char* text)
{
    if (!text)
        text = gLanguageTexts[kOutOfMemoryLanguageText].empty() ? kOutOfMemoryText
                                                                : gLanguageTexts[kOutOfMemoryLanguageText].cStr();
    errorBox(nullptr, text, nullptr);
    shutdownInstaller(true);
}

int leaveStartUp()
{
    cleanupAtExit(true);
    deleteLocalCopy();
    CoUninitialize();
    return installerExitCode(false, gFlags.revert);
}
