#include "installer/install/PluginServices.h"

#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/RegistryView.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

std::int32_t PLUGIN_SERVICE pluginAddSharedDll(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return -1;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0,
                      KEY_READ | KEY_WRITE | registryViewBits(), &key) != ERROR_SUCCESS)
        return -2;
    DWORD count = 0;
    DWORD type = 0;
    DWORD size = sizeof(count);
    if (RegQueryValueExW(key, WideName(path), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(count))
        count = 0;
    ++count;
    const LONG written =
        RegSetValueExW(key, WideName(path), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
    RegCloseKey(key);
    if (written != ERROR_SUCCESS)
        return -2;
    addListEntry(path, gUninstallLog.shared);
    return 1;
}
