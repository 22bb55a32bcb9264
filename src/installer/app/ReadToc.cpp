#include "ReadToc.h"

#include "installer/state/PluginApiTable.h"

#include "installer/package/PackageLocate.h"
#include "installer/package/TocRead.h"
#include "installer/state/InstallerState.h"
#include "installer/system/RegistryView.h"
#include "installer/variables/VariableApi.h"

#include <windows.h>

namespace {

// True when this process is a 32-bit one running on 64-bit Windows. The export is looked up at
// run time: older systems do not have it.
bool runsUnderWow64()
{
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleA("Kernel32");
    if (!kernel)
        return false;
    const auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The installation-type variables come first in the list, before the package's own.
void presetInstallationTypeVariables()
{
    setVariableText("<IT_Typical>", "1");
    setVariableText("<IT_Minimal>", "0");
    setVariableText("<IT_Custom>", "0");
    setVariableInt("<IT_Type>", 2);
}

} // namespace

int readToc()
{
    if (locatePackage() < 0)
        return kTocPackageNotLocated;
    const auto file = openPackageFile(gPackagePath.cStr());
    if (!file)
        return kTocNotLoaded;
    presetInstallationTypeVariables();
    const int read = readTocFromPackage(*file, gPackageHeader, globalTocTargets());
    if (read < 0)
        return read;
    setVariableInt("<IsUpdate>", (gInstallerContext.packageOptions & kPackageUpdate) != 0 ? 1 : 0);
    gPluginApiTable.silent = gFlags.silent ? 1 : 0;
    if (gPackageToc.registryView64 && runsUnderWow64())
        setRegistryViewBits(KEY_WOW64_64KEY);
    return kTocRead;
}
