#include "installer/variables/win/FolderVariablesInit.h"

#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/system/YearMinutes.h"
#include "installer/system/win/Registry.h"
#include "installer/system/win/SpecialFolders.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/system/win/UserAdmin.h"
#include "installer/variables/FolderVariables.h"
#include "installer/variables/SystemProbes.h"

#include <shlobj.h>

#include <vector>

namespace {

const char* const kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr LCID kSystemDefaultLocale = 0x0800;

ByteString& folder(FolderValue value)
{
    return gMainInstaller.folders[value];
}

// A path value under the current-version key; the fall-back texts when it cannot be read.
void setRegistryFolder(const char* valueName, const char* fallback, const char* shortFallback, FolderValue value,
                       FolderValue shortValue)
{
    std::vector<std::uint8_t> bytes;
    if (readRegistryBytes(HKEY_LOCAL_MACHINE, kCurrentVersionKey, valueName, &bytes) == 1) {
        setFolderVariable(reinterpret_cast<const char*>(bytes.data()), folder(value), &folder(shortValue));
        return;
    }
    folder(value).assignCStr(fallback);
    folder(shortValue).assignCStr(shortFallback);
}

ByteString systemFolder()
{
    return systemFolderPath();
}

ByteString tempFolder()
{
    return tempFolderPath();
}

ByteString windowsFolder()
{
    char buffer[MAX_PATH + 1] = {};
    return ByteString(getWindowsDirectory(buffer, MAX_PATH) ? buffer : "");
}

ByteString todaysDate()
{
    char buffer[128] = {};
    if (!GetDateFormatA(kSystemDefaultLocale, 0, nullptr, nullptr, buffer, sizeof(buffer)))
        buffer[0] = '\0';
    return ByteString(buffer);
}

} // namespace

void setSpecialFolderVariable(int number, ByteString& value, ByteString* shortValue)
{
    char buffer[MAX_PATH + 1] = {};
    if (!getSpecialFolder(number, buffer))
        buffer[0] = '\0';
    buffer[MAX_PATH] = '\0';
    setFolderVariable(buffer, value, shortValue);
}

void initFolderVariables()
{
    const bool nt = gInstallerContext.unicode != 0;
    setSpecialFolderVariable(CSIDL_PROGRAMS, folder(kProgramsDir), &folder(kProgramsDirShort));
    setSpecialFolderVariable(CSIDL_STARTUP, folder(kStartUp), &folder(kStartUpShort));
    setSpecialFolderVariable(CSIDL_DESKTOPDIRECTORY, folder(kDesktop), &folder(kDesktopShort));
    setSpecialFolderVariable(CSIDL_FONTS, folder(kFontDir));
    setSpecialFolderVariable(CSIDL_STARTMENU, folder(kStartMenu), &folder(kStartMenuShort));
    setSpecialFolderVariable(nt ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, folder(kProgramsDirNt));
    setSpecialFolderVariable(nt ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP, folder(kStartUpNt));
    setSpecialFolderVariable(nt ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY, folder(kDesktopNt));
    setSpecialFolderVariable(nt ? CSIDL_COMMON_STARTMENU : CSIDL_STARTMENU, folder(kStartMenuNt));
    setSpecialFolderVariable(CSIDL_PERSONAL, folder(kMyDocuments));
    setRegistryFolder("ProgramFilesDir", "C:\\Program Files", "C:\\Progra~1", kProgramFiles, kProgramFilesShort);
    setRegistryFolder("CommonFilesDir", "C:\\Program Files\\Common Files", "C:\\Progra~1\\Common~1", kCommonFiles,
                      kCommonFilesShort);
    setFolderVariable(windowsFolder().cStr(), folder(kWindowsDir), &folder(kWindowsDirShort));
    const auto dotNetFolder = systemProbes().dotNetFolder;
    setFolderVariable(dotNetFolder ? dotNetFolder().c_str() : "", gMainInstaller.dotNetDir);
    ByteString system = systemFolder();
    setFolderVariable(system.cStr(), folder(kSystemDir), &folder(kSystemDirShort));
    setFolderVariable(tempFolder().cStr(), folder(kTempDir), &folder(kTempDirShort));
    ByteString drive;
    if (!system.empty()) {
        drive.appendChar(system.at(0));
        drive.appendChar(':');
    }
    folder(kSystemDrive) = drive;
    folder(kDate) = todaysDate();
    appendStartupVariables(minutesSinceYearStart(2000), isUserAdmin());
}
