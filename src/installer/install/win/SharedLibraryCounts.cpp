#include "installer/install/SystemChanges.h"

#include "installer/install/InstallRun.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/RegistryView.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <string>

namespace {

const char* const kSharedLibrariesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

} // namespace

void incrementSharedDll(const char* path, bool registered)
{
    HKEY key = nullptr;
    // Created when missing (a fresh system may not have it yet): the count and its log entry
    // are what lets an uninstaller release the library again.
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, WideName(kSharedLibrariesKey), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE | registryViewBits(), nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    DWORD type = 0;
    DWORD size = sizeof(count);
    if (RegQueryValueExW(key, WideName(path), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(count))
        count = 0;
    ++count;
    RegSetValueExW(key, WideName(path), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
    RegCloseKey(key);
    std::string logged = path;
    if (registered)
        logged += "|ctrl";
    addListEntry(logged.c_str(), gUninstallLog.shared);
}

void countSharedLibraries()
{
    for (const auto& [path, registered] : gInstallRun.sharedLibraries)
        incrementSharedDll(path.c_str(), registered);
}
