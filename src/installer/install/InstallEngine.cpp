#include "installer/install/InstallEngine.h"

#include "installer/install/FileInstaller.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallRun.h"
#include "installer/install/ProgressAccounting.h"
#include "installer/install/StepLists.h"
#include "installer/system/DriveRoot.h"
#include "installer/system/FreeSpace.h"
#include "installer/variables/ProgramGroupFolder.h"
#include "installer/variables/UninstallerPath.h"

#include <string>
#include <thread>

namespace {

constexpr std::size_t kRegistryStatus = 132;
constexpr std::size_t kRegistryFailed = 133;
constexpr std::size_t kIniStatus = 134;
constexpr std::size_t kTextFilesStatus = 136;
constexpr std::size_t kShortcutsStatus = 137;
constexpr std::size_t kShortcutsFailed = 138;
constexpr std::size_t kRegistrationStatus = 139;
constexpr std::int32_t kFreeSpaceAvailableToCaller = 1;

// Header fields of the byte totals: bytes required, then the JPEG, MP3 and other totals.
struct TotalsFields {
    std::uint32_t required, jpeg, mp3, other;
};
constexpr TotalsFields kMinimalTotals{200, 208, 212, 224};
constexpr TotalsFields kTypicalTotals{204, 216, 220, 228};

const char* const kFilesNotInstalled = "These files could not be installed:";
const char* const kOperationsNotConnected = "The installation cannot run. These steps are not connected:";

ProgressTotals currentTotals()
{
    ProgressTotals totals;
    totals.other = gPackageToc.otherBytes;
    totals.mp3 = gPackageToc.mp3Bytes;
    totals.jpeg = gPackageToc.jpegBytes;
    totals.mp3ToWav = (gInstallerContext.packageOptions & kPackageMp3ToWav) != 0;
    totals.jpegToBmp = (gInstallerContext.packageOptions & kPackageJpegToBmp) != 0;
    return totals;
}

void enterPhase(std::int32_t phase, std::size_t statusText = 0)
{
    gInstallRun.phase = phase;
    gPackageToc.phase = phase;
    if (statusText != 0 && !gFlags.silent && gInstallView.statusLine) {
        ByteString text = gLanguageTexts[statusText];
        gInstallView.statusLine(text.cStr());
    }
    setProgress(0, 0);
}

// Runs an operation of a later phase. Every operation is connected before a run starts
// (unconnectedOperations), so none is ever skipped here.
bool perform(const std::function<bool()>& operation)
{
    return operation();
}

// The run does not start without all its operations: one nobody connected would pass for done.
bool everyOperationConnected()
{
    const std::vector<std::string> missing = unconnectedOperations(gInstallOperations);
    if (missing.empty())
        return true;
    std::string text = kOperationsNotConnected;
    for (const std::string& name : missing)
        text += "\r\n" + name;
    showInstallError(text.c_str());
    return false;
}

// After the run, with windows: the program group opens when the package asks for it and the
// slideshow's image leaves the background.
void closeRunWithWindows()
{
    const std::uint32_t options = gInstallerContext.optionWord;
    const bool groupHasItems = !gPackageToc.shortcuts.empty() || (options & kOptionNoUninstaller) == 0;
    if (!gPackageToc.extractorMode && (options & kOptionOpenProgramGroup) && groupHasItems) {
        ByteString folder = programGroupFolder();
        stepSystem().shellExecute("open", folder.cStr(), nullptr, "", false);
    }
    if (gInstallView.endSlideshow)
        gInstallView.endSlideshow();
}

void showLanguageError(std::size_t index)
{
    ByteString text = gLanguageTexts[index];
    showInstallError(text.cStr());
}

bool installPhaseFiles()
{
    enterPhase(kPhaseFiles);
    if (!installFiles())
        return false;
    if (gInstallRun.failedFiles.empty())
        return true;
    std::string text = kFilesNotInstalled;
    for (const std::string& path : gInstallRun.failedFiles)
        text += "\r\n" + path;
    showInstallError(text.c_str());
    return false;
}

// The uninstaller is written under its whole name or not at all: a name too long is refused
// before anything is installed.
bool uninstallerNameFits()
{
    if (gPackageToc.uninstallerNameTemplate.empty())
        return true;
    ByteString path = uninstallerPath();
    if (path.length() <= kUninstallerPathLimit)
        return true;
    ByteString text;
    text.format("The uninstaller's path is longer than %d bytes: %s", static_cast<int>(kUninstallerPathLimit),
                path.cStr());
    showInstallError(text.cStr());
    return false;
}

bool createInstallFolder()
{
    ByteString installDir = gPackageToc.installDir;
    if (installDir.length() <= 3 || gPackageToc.extractorMode)
        return true;
    return installFileSystem().createFolders(installDir.cStr(), false);
}

void deleteAsideFiles()
{
    for (const std::string& aside : gInstallRun.asideFiles)
        installFileSystem().remove(aside);
    gInstallRun.asideFiles.clear();
}

} // namespace

void setProgress(std::int32_t phasePercent, std::uint64_t done)
{
    if (gFlags.silent)
        return;
    const std::int32_t images = static_cast<std::int32_t>(gPackageToc.slideshowPaths.size());
    const ProgressUpdate update = gInstallRun.progress.update(gInstallRun.phase, phasePercent, done, currentTotals(), images);
    if (update.phaseBar && gInstallView.setPhaseBar)
        gInstallView.setPhaseBar(*update.phaseBar);
    if (update.overallBar && gInstallView.setOverallBar)
        gInstallView.setOverallBar(*update.overallBar);
    if (update.slide && gInstallView.showSlide)
        gInstallView.showSlide(*update.slide);
    const std::int32_t duration = gSlideshowSettings.durationSeconds;
    if (images >= 1 && images <= 100 && duration > 0) {
        // At 100 % the run has lasted at least the slideshow's duration.
        InstallFileSystem& fs = installFileSystem();
        const std::uint64_t due = static_cast<std::uint64_t>(update.overall) * static_cast<std::uint64_t>(duration) * 10;
        while (static_cast<std::uint32_t>(fs.tickCount() - gInstallRun.runStartTick) < due) {
            if (gInstallView.pumpMessages)
                gInstallView.pumpMessages();
            std::this_thread::yield();
        }
    }
    if (gInstallView.pumpMessages)
        gInstallView.pumpMessages();
}

void applySelectedTotals()
{
    const std::int32_t type = gPackageToc.installationType;
    if (type != kMinimalInstallation && type != kTypicalInstallation)
        return;
    const TotalsFields& fields = type == kMinimalInstallation ? kMinimalTotals : kTypicalTotals;
    if (gPackageHeader.length() < fields.other + 4)
        return;
    gPackageToc.bytesRequired = gPackageHeader.readBE32(fields.required);
    gPackageToc.jpegBytes = gPackageHeader.readBE32(fields.jpeg);
    gPackageToc.mp3Bytes = gPackageHeader.readBE32(fields.mp3);
    gPackageToc.otherBytes = gPackageHeader.readBE32(fields.other);
}

std::uint64_t destinationFreeSpace()
{
    ByteString installDir = gPackageToc.installDir;
    const std::string root = driveRootOf(installDir.cStr());
    if (root.empty())
        return 0;
    return getFreeSpace(root.c_str(), kFreeSpaceAvailableToCaller);
}

std::uint8_t runInstallation(OpaqueHandle pageWindow)
{
    resetInstallRun();
    if (!everyOperationConnected())
        return 0;
    gInstallRun.pageWindow = pageWindow;
    gInstallRun.runStartTick = installFileSystem().tickCount();
    if (!gPackageToc.slideshowPaths.empty() && !gFlags.silent && gInstallView.measureSlideshow)
        gInstallView.measureSlideshow();

    if (gFlags.silent) {
        if (!perform(gInstallOperations.pluginStepsBeforeRun) || !perform(gInstallOperations.prerequisites))
            return 0;
        if (gPackageToc.bytesRequired > gPackageToc.freeSpace)
            return 0;
    }
    if (!uninstallerNameFits() || !createInstallFolder())
        return 0;
    perform(gInstallOperations.expandEntryTables);

    if (!installPhaseFiles())
        return 0;
    if (gInstallerContext.packageOptions & kPackageMp3ToWav) {
        enterPhase(kPhaseMp3);
        if (!perform(gInstallOperations.convertMp3Files))
            return 0;
    }
    if (gInstallerContext.packageOptions & kPackageJpegToBmp) {
        enterPhase(kPhaseJpeg);
        if (!perform(gInstallOperations.convertJpegFiles))
            return 0;
    }
    enterPhase(kPhaseRegistry, kRegistryStatus);
    gUninstallLog.treeBuilt = true;
    if (!perform(gInstallOperations.writeRegistry)) {
        showLanguageError(kRegistryFailed);
        return 0;
    }
    enterPhase(kPhaseIni, kIniStatus);
    perform(gInstallOperations.writeIniEntries);
    enterPhase(kPhaseTextFiles, kTextFilesStatus);
    perform(gInstallOperations.editTextFiles);
    enterPhase(kPhaseShortcuts, kShortcutsStatus);
    if (!perform(gInstallOperations.createShortcuts))
        showLanguageError(kShortcutsFailed);
    enterPhase(kPhaseRegistration, kRegistrationStatus);
    if (!gInstallRun.sharedLibraries.empty())
        perform(gInstallOperations.countSharedLibraries);
    if (!gPackageToc.registrationQueue.empty())
        perform(gInstallOperations.registerFiles);
    // With windows the finish page hands the renames over (it offers the restart they wait for);
    // a silent run has no finish page and hands them over here.
    if (!gPackageToc.renamePairs.empty()) {
        if (gFlags.silent)
            perform(gInstallOperations.applyPendingRenames);
        else
            gInstallRun.notPerformed.emplace_back("renames at restart");
    }
    if (!perform(gInstallOperations.commitUninstallData))
        return 0;
    // Committed: the old contents are no longer needed for a rollback.
    deleteAsideFiles();
    // The last phase stands at 99 %; a committed run shows both bars full.
    gInstallRun.phase = kPhaseFinished;
    setProgress(100, 0);
    if (gFlags.silent)
        perform(gInstallOperations.pluginStepsAfterRun);
    else
        closeRunWithWindows();
    if (!gPackageToc.extractorMode)
        gInstallOperations.notifyAssociationsChanged();
    if (!gInstallRun.skippedFiles.empty()) {
        std::string text = kFilesNotInstalled;
        for (const std::string& path : gInstallRun.skippedFiles)
            text += "\r\n" + path;
        showInstallError(text.c_str());
    }
    return 1;
}
