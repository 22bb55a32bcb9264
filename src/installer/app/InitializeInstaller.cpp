#include "InitializeInstaller.h"

#include "BusyNote.h"
#include "WizardStart.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/PluginCalls.h"
#include "installer/package/PackageResources.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/FreeSpace.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace {

constexpr int kDestinationNotFound = -20;
const char* const kDestinationNotFoundText = "Couldn't read destination directory from registry. Aborting";
constexpr int kDisplayNameFormat = 3;

ByteString textUpToNul(const std::vector<std::uint8_t>& bytes)
{
    std::size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0)
        ++length;
    return ByteString(bytes.data(), static_cast<std::uint32_t>(length));
}

void readUserInformation()
{
    wchar_t name[257] = {};
    DWORD size = 257;
    if (GetUserNameW(name, &size))
        gInstallerContext.userName = utf8FromWide(name);
    const bool nt = gInstallerContext.osVersion.platformId == VER_PLATFORM_WIN32_NT;
    if (nt) {
        using GetUserNameExFunction = BOOLEAN(WINAPI*)(int, LPWSTR, PULONG);
        if (const HMODULE secur32 = LoadLibraryA("Secur32.dll")) {
            const auto getUserNameEx = reinterpret_cast<GetUserNameExFunction>(
                reinterpret_cast<void*>(GetProcAddress(secur32, "GetUserNameExW")));
            wchar_t displayName[257] = {};
            ULONG length = 257;
            if (getUserNameEx && getUserNameEx(kDisplayNameFormat, displayName, &length) && displayName[0])
                gInstallerContext.userName = utf8FromWide(displayName);
            FreeLibrary(secur32);
        }
    }
    const char* const versionKey =
        nt ? "Software\\Microsoft\\Windows NT\\CurrentVersion" : "Software\\Microsoft\\Windows\\CurrentVersion";
    std::vector<std::uint8_t> organisation;
    if (readRegistryBytes(HKEY_LOCAL_MACHINE, versionKey, "RegisteredOrganization", &organisation) == 1)
        gInstallerContext.organisation = textUpToNul(organisation);
}

// An update takes its destination from where the product said it lies.
int readDestinationFromRegistry()
{
    if ((gInstallerContext.optionWord & kOptionDestinationFromRegistry) == 0)
        return 1;
    expandFolderVariables(gPackageToc.destinationKey);
    expandFolderVariables(gPackageToc.destinationValueName);
    std::vector<std::uint8_t> value;
    const HKEY root = predefinedRootKey(gPackageToc.destinationRegistryRoot);
    if (readRegistryBytes(root, gPackageToc.destinationKey.cStr(), gPackageToc.destinationValueName.cStr(), &value)
        == 1) {
        gPackageToc.installDir = textUpToNul(value);
        if (gPackageToc.installDir.empty() || gPackageToc.installDir.at(gPackageToc.installDir.length() - 1) != '\\')
            gPackageToc.installDir.appendChar('\\');
        return 1;
    }
    if (!gPackageToc.installDir.empty())
        return 1;
    const char* text = getVariableText("<__Internal_DirNotFound__>");
    errorBox(nullptr, text ? text : kDestinationNotFoundText, nullptr);
    return kDestinationNotFound;
}

void measureFreeSpace()
{
    // The destination's own root: a network share is measured as the share, not as a drive
    // named after the path's first letter.
    gPackageToc.freeSpace = destinationFreeSpace();
}

bool showsBusyNote()
{
    return !gFlags.silent && !gPackageToc.extractorMode && !gPackageToc.runFromFolderMode;
}

std::unique_ptr<BusyNote> showInitializingNote()
{
    if (!showsBusyNote())
        return nullptr;
    const char* text = getVariableText("<__Internal_Initializing__>");
    const char* caption = getVariableText("<__Internal_InitializingTitle__>");
    return std::make_unique<BusyNote>(text, caption);
}

} // namespace

int initializeInstaller()
{
    readUserInformation();
    const int destination = readDestinationFromRegistry();
    if (destination < 0)
        return destination;
    measureFreeSpace();
    const std::unique_ptr<BusyNote> note = showInitializingNote();
    const int resources = loadPackageResources();
    if (resources < 0)
        return resources;
    if (!gFlags.silent && !prepareWizardWindows())
        return kMainWindowNotMade;
    // The plug-in's first calls: its table of services, then start-up; step 0's lists run either
    // way.
    callAdvancedEntry();
    callEntryPoint0();
    if (!gFlags.silent) {
        showMainWindow();
        // The background music plays until the installer ends; when it cannot start, the
        // installer goes on without it.
        gMp3Helper.startMusic();
    }
    return 1;
}
