#include "InstallerStartup.h"

#include "CoreHooks.h"
#include "ExpandProductStrings.h"
#include "InitializeInstaller.h"
#include "InstallerExit.h"
#include "ReadToc.h"
#include "RunInnerInstaller.h"
#include "SelfCopy.h"
#include "SetupResourceDir.h"
#include "WizardStart.h"

#include "installer/install/FinishActions.h"
#include "installer/install/InstallEngine.h"
#include "installer/install/win/RegistryAccess.h"
#include "installer/install/win/StartupChecks.h"
#include "installer/state/InstallerRunRules.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/FileSystem.h"
#include "installer/system/TempFileName.h"
#include "installer/system/win/UserAdmin.h"
#include "installer/text/win/WideName.h"
#include "installer/uninstall/UninstallCommit.h"
#include "installer/variables/FolderVariables.h"
#include "installer/variables/SystemNumbers.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/win/FolderVariablesInit.h"

#include <commctrl.h>
#include <exception>
#include <objbase.h>

#include <cstring>

namespace {

const char* const kTocNotReadText = "Couldn't read TOC. Aborting.";
const char* const kInitializationFailedFormat = "Initialization failed. Aborting. Error code: %d";
constexpr std::size_t kAdministratorRequiredText = 177;

void readOsVersion()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    OsVersion& os = gInstallerContext.osVersion;
    os.major = version.dwMajorVersion;
    os.minor = version.dwMinorVersion;
    os.build = version.dwBuildNumber;
    os.platformId = version.dwPlatformId;
    static_assert(sizeof(os.servicePack) == sizeof(version.szCSDVersion));
    std::memcpy(os.servicePack.data(), version.szCSDVersion, sizeof(version.szCSDVersion));
    gInstallerContext.unicode = os.platformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    if (os.platformId == VER_PLATFORM_WIN32_WINDOWS && (os.build & 0xFFFF) <= 1000)
        gSystemInfoResults.windows95BeforeOsr2 = 1;
}

// Whether this installer may go on: nothing runs it in its place, no other installer of the
// product runs, the installed product allows it, the registry can be written, and the user
// agrees.
bool passStartupChecks()
{
    if (gInstallerContext.packageOptions & kPackageUpdate)
        gPackageToc.uninstallerNameTemplate = installedUninstallerPath();
    if (runAutorunCommand())
        return false;
    const bool extractor = gPackageToc.extractorMode != 0;
    if (!extractor) {
        if (ensureSingleInstance() || !checkPreviousInstallation())
            return false;
        if (checkRegistryAccess() == 0 && !gPackageToc.privilegesQuiet)
            return false;
    }
    if (gInstallerContext.packageOptions & kPackageUpdate)
        gInstallerContext.optionWord &= ~kOptionThirdFinishItem;
    return extractor || confirmStart();
}

// The run without a page; returns the exit code.
int runSilentInstallation()
{
    applySelectedTotals();
    gPackageToc.freeSpace = destinationFreeSpace();
    installEngineHooks();
    bool installed = false;
    try {
        installed = runInstallation(nullptr) == 1;
    } catch (...) {
        // A run that an exception ended is a failed run.
    }
    // A failed run leaves the computer as it found it.
    if (!installed)
        rollbackOnExit();
    if (installed && gPackageToc.extractorMode)
        installed = runInnerInstaller();
    else if (installed)
        finishSilentRun();
    cleanupAtExit(true);
    deleteLocalCopy();
    CoUninitialize();
    return installerExitCode(installed, gFlags.revert);
}

// The wizard from its first page to its end; returns the exit code.
int runInteractiveInstallation()
{
    applySelectedTotals();
    installEngineHooks();
    bool installed = runWizard();
    if (installed && gPackageToc.extractorMode)
        installed = runInnerInstaller();
    cleanupAtExit(true);
    deleteLocalCopy();
    CoUninitialize();
    return installerExitCode(installed, gFlags.revert);
}

} // namespace

int initInstaller(HINSTANCE instance)
{
    gPackageToc.bytesRequired = 0;
    gPackageToc.installationType = 2;
    gInstallerContext.instance = instance;
    gInstallerContext.mainWindow = nullptr;
    gInstallerContext.screenDc = nullptr;
    gInstallerContext.dialogImage = nullptr;
    gSystemInfoResults = SystemInfoResults{};
    readOsVersion();
    gBackgroundStyle.flags = 0;

    const std::string modulePath = currentModulePath();
    gModulePath.assignCStr(modulePath.c_str());
    if (!gFlags.localCopy)
        gPackagePath.assignCStr(modulePath.c_str());

    ByteString commandLine = utf8FromWide(GetCommandLineW());
    readCommandLineFlags(commandLine.cStr(), gFlags);
    resetSystemNumbers();
    setVariableText("<InstallerCommandLine>", commandLine.cStr());
    return 1;
}

int runInstaller(HINSTANCE instance)
{
    // An exception that escapes a callback of the system or a noexcept function ends here
    // rather than in the runtime's abort.
    std::set_terminate(endAfterUncaughtException);
    CoInitialize(nullptr);
    ensureTempFolder();
    installCoreHooks();
    connectWizard();
    copySelfOffNetworkPath();
    InitCommonControls();
    initInstaller(instance);

    if (readToc() < 0) {
        errorBox(nullptr, kTocNotReadText, nullptr);
        return leaveStartUp();
    }
    initFolderVariables();
    presetVariableValues();
    if (gPackageToc.silentRunNeedsLicense && gFlags.silent && !gFlags.acceptLicense)
        return leaveStartUp();
    setupResourceDir(gPackageToc.runFromFolderMode != 0);
    expandProductStrings();
    if (!passStartupChecks())
        return leaveStartUp();
    const int initialized = initializeInstaller();
    if (initialized < 0) {
        ByteString text;
        text.format(kInitializationFailedFormat, initialized);
        errorBox(nullptr, text.cStr(), nullptr);
        return leaveStartUp();
    }
    if (gSystemRequirements.adminRequired && !isUserAdmin()) {
        errorBox(nullptr, gLanguageTexts[kAdministratorRequiredText].cStr(), nullptr);
        shutdownInstaller(true);
    }
    if (gFlags.silent)
        return runSilentInstallation();
    return runInteractiveInstallation();
}
