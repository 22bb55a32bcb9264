#include "installer/install/win/PrerequisiteChecks.h"

#include "installer/install/StepLists.h"

#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/sysinfo/win/DirectXDetection.h"
#include "installer/sysinfo/win/SoftwareDetection.h"
#include "installer/system/FileSystem.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/system/win/UserAdmin.h"
#include "installer/system/win/VersionResource.h"
#include "installer/variables/SystemNumbers.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kDataAccessVersionBytes = 50;

std::string dataAccessVersion()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DataAccess", 0, KEY_READ | registryViewBits(), &key) !=
        ERROR_SUCCESS)
        return {};
    char buffer[kDataAccessVersionBytes + 1] = {};
    DWORD size = kDataAccessVersionBytes;
    DWORD type = 0;
    const LONG read = RegQueryValueExA(key, "FullInstallVer", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return buffer;
}

void helpViewerVersion(std::uint32_t& high, std::uint32_t& low)
{
    high = low = 0;
    ByteString folder = systemFolderPath();
    if (folder.empty())
        return;
    const std::string path = std::string(folder.cStr()) + "\\hhctrl.ocx";
    if (getFileVersion(path.c_str(), &high, &low) != 1)
        high = low = 0;
}

// Measured once; the condition name "<DirectXVer>" reads the same cell.
std::uint32_t cachedDirectX()
{
    if (gSystemNumbers.directX == -1)
        gSystemNumbers.directX = static_cast<std::int32_t>(detectDirectX());
    return static_cast<std::uint32_t>(gSystemNumbers.directX);
}

bool mayDecline()
{
    return gInstallerContext.osVersion.platformId != VER_PLATFORM_WIN32_NT || isUserAdmin();
}

} // namespace

PrerequisiteSystem systemPrerequisites()
{
    PrerequisiteSystem system;
    system.dotNet = [] { return detectDotNet(nullptr); };
    system.javaVersion = [] {
        ByteString version = detectJava();
        return std::string(version.cStr());
    };
    system.helpViewerVersion = helpViewerVersion;
    system.dataAccessVersion = dataAccessVersion;
    system.directX = cachedDirectX;
    system.mayDecline = mayDecline;
    system.ask = [](const char* text, std::uint32_t type) { return messageBox(nullptr, text, nullptr, type); };
    // No working folder, the default wait text.
    system.runAndWait = [](const char* commandLine) { stepSystem().runAndWait(commandLine, nullptr, nullptr); };
    system.fileExists = fileExists;
    system.deleteFile = [](const char* path) { forceDelete(path); };
    return system;
}

void checkPrerequisites()
{
    if (runPrerequisiteChecks(systemPrerequisites()) == PrerequisiteOutcome::endInstaller)
        endInstaller();
}

bool checkPrerequisitesForRun()
{
    checkPrerequisites();
    return true;
}
