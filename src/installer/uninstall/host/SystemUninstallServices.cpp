#include "installer/uninstall/UninstallServices.h"

#include "installer/system/ErrorBox.h"
#include "installer/variables/UninstallerPath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

// Native stand-ins: no program is started and no restart is pending.
UninstallServices systemUninstallServices()
{
    UninstallServices services;
    services.runAndWait = [](const std::string&, const std::string&, const std::string&) -> std::int64_t { return -1; };
    services.cancelDeleteOnReboot = [](const std::string&) {};
    services.removeEmptyFolder = [](const std::string& folder) { return ::rmdir(folder.c_str()) == 0; };
    services.leaveInstalledFolders = [] {};
    services.findUninstaller = [] { return std::string(uninstallerPath().cStr()); };
    services.showError = [](OpaqueHandle, const char* text) { showErrorBox(text); };
    services.whyNotWritable = [](const std::string& path) -> std::string {
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        if (!file)
            return std::strerror(errno);
        std::fclose(file);
        return std::string();
    };
    return services;
}
