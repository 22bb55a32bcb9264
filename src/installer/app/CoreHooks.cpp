#include "CoreHooks.h"

#include "FileSearchNoteDialog.h"
#include "InstallerExit.h"

#include "installer/install/FinishActions.h"
#include "installer/install/InstallRun.h"
#include "installer/install/JpegConversion.h"
#include "installer/install/Mp3Conversion.h"
#include "installer/install/PluginCalls.h"
#include "installer/install/StepLists.h"
#include "installer/install/SystemChanges.h"
#include "installer/install/win/PrerequisiteChecks.h"
#include "installer/memory/FatalError.h"
#include "installer/package/ExtractionHooks.h"
#include "installer/package/NextVolumePrompt.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/sysinfo/win/SystemInformationProbes.h"
#include "installer/system/DirectoryCreation.h"
#include "installer/system/ErrorBox.h"
#include "installer/system/RegistryView.h"
#include "installer/uninstall/UninstallCommit.h"
#include "installer/uninstall/UninstallMerge.h"
#include "installer/variables/FileSearchNote.h"
#include "installer/variables/TextExpansion.h"
#include "installer/wizard/win/NextVolumeDialog.h"
#include "installer/wizard/win/PageHandlers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/StepSystemWin.h"
#include "installer/wizard/win/TemplatePage.h"
#include "installer/wizard/win/WizardNavigator.h"

#include <shlobj.h>

namespace {

void showInstallerErrorBox(const char* text)
{
    errorBox(nullptr, text, nullptr);
}

void logCreatedFolder(const char* fullPath)
{
    addListEntry(fullPath, gUninstallLog.directories);
}

void shutdownFromCore()
{
    shutdownInstaller(true);
}

// Yes lets the decoder go on; No ends the installer (the caller does that).
bool askAfterExtractionError(const char* text)
{
    const char* caption = gSetupTitle.empty() ? nullptr : gSetupTitle.cStr();
    return messageBox(GetActiveWindow(), text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int askDuringInstallation(const char* text, std::uint32_t type)
{
    const char* caption = gSetupTitle.empty() ? nullptr : gSetupTitle.cStr();
    return messageBox(static_cast<HWND>(gInstallRun.pageWindow), text, caption, type);
}

void notifyAssociationsChanged()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

} // namespace

void installEngineHooks()
{
    setInstallMessageBox(askDuringInstallation);
    gInstallOperations.notifyAssociationsChanged = notifyAssociationsChanged;
    gInstallOperations.expandEntryTables = [] {
        expandEntryTables();
        return true;
    };
    gInstallOperations.convertMp3Files = convertMp3Files;
    gInstallOperations.convertJpegFiles = convertJpegFiles;
    gInstallOperations.writeRegistry = writeRegistryTrees;
    gInstallOperations.writeIniEntries = [] { return writeIniEntries() != 0; };
    gInstallOperations.editTextFiles = [] { return editTextFiles() != 0; };
    gInstallOperations.createShortcuts = [] { return createShortcuts() != 0; };
    gInstallOperations.countSharedLibraries = [] {
        countSharedLibraries();
        return true;
    };
    gInstallOperations.registerFiles = [] {
        registerFiles(gPackageToc.registrationQueue);
        return true;
    };
    gInstallOperations.applyPendingRenames = [] {
        applyPendingRenames();
        return true;
    };
    gInstallOperations.prerequisites = checkPrerequisitesForRun;
    gInstallOperations.pluginStepsBeforeRun = runPluginStepsBeforeRun;
    gInstallOperations.pluginStepsAfterRun = runPluginStepsAfterRun;
    setStepSystem(&windowsStepSystem());
    pluginHost().destroyCurrentPage = [] { destroyCurrentPage(true); };
    setCleanupBeforeRestart([] { cleanupAtExit(true); });
    wizardSteps().firstStep = [] { callEntryPoint1(); };
    wizardSteps().step = callPluginStep;
    pageServices().pluginMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::uint32_t pageId) {
        if ((gInstallerContext.packageOptions & kPackagePluginHasOnMessage) == 0)
            return LRESULT(0);
        return static_cast<LRESULT>(
            callOnMessage(window, message, wParam, lParam, static_cast<std::int32_t>(pageId)));
    };
    gInstallOperations.commitUninstallData = [] { return commitUninstallData(gInstallRun.pageWindow); };
    pluginHost().mergeUninstallData = [] { mergeUninstallData(); };
}

void installCoreHooks()
{
    setErrorBoxFunction(showInstallerErrorBox);
    setFatalErrorHandler(abortWithMessage);
    setCreatedFolderLog(logCreatedFolder);
    setFileSearchNote({openFileSearchNoteDialog, closeFileSearchNoteDialog});
    setEndInstallerHandler(shutdownFromCore);
    setExtractionQuestion(askAfterExtractionError);
    setNextVolumePrompt(showNextVolumeDialog);
    setSystemProbes(systemInformationProbes());
    wizardSteps().checkPrerequisites = checkPrerequisites;
    // The wizard's silent components evaluation and its look at the system report.
    connectStandardPages();
    // The progress bar of the installation page takes the extraction's progress when it exists.
    // The 64-bit view is chosen by the package; until it is read, the system's own view.
    setRegistryViewBits(0);
}
