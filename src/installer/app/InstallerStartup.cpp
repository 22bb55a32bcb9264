#include "InstallerStartup.h"

#include "CoreHooks.h"
#include "InstallerExit.h"
#include "ReadToc.h"
#include "SelfCopy.h"
#include "SetupResourceDir.h"

#include "installer/core/FileSystem.h"
#include "installer/core/InstallerRunRules.h"
#include "installer/core/InstallerState.h"
#include "installer/core/TempFileName.h"
#include "installer/core/win/InstallerMessageBox.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>

namespace {

const char* const kTocNotReadText = "Couldn't read TOC. Aborting.";
const char* const kInitializationFailedFormat = "Initialization failed. Aborting. Error code: %d";

// Work before the first page; 1 or the first negative code. The start-up checks, the user
// information, the package resources and the background window join here.
constexpr int kInitializationNotAvailable = -1;
int initializeInstaller()
{
    return kInitializationNotAvailable;
}

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
    readOsVersion();
    gBackgroundStyle.flags = 0;

    const std::string modulePath = currentModulePath();
    gModulePath.assignCStr(modulePath.c_str());
    if (!gFlags.localCopy)
        gPackagePath.assignCStr(modulePath.c_str());

    readCommandLineFlags(GetCommandLineA(), gFlags);
    return 1;
}

int runInstaller(HINSTANCE instance)
{
    CoInitialize(nullptr);
    ensureTempFolder();
    installCoreHooks();
    copySelfOffNetworkPath();
    InitCommonControls();
    initInstaller(instance);

    if (readToc() < 0) {
        errorBox(nullptr, kTocNotReadText, nullptr);
        return leaveStartUp();
    }
    setupResourceDir(false);
    const int initialized = initializeInstaller();
    if (initialized < 0) {
        ByteString text;
        text.format(kInitializationFailedFormat, initialized);
        errorBox(nullptr, text.cStr(), nullptr);
        return leaveStartUp();
    }
    // The silent run and the wizard join here.
    return leaveStartUp();
}
