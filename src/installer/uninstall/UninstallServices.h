#pragma once
// What the commit and the rollback need of the system: starting the uninstaller, the pending
// deletes at restart, folders, the installed uninstaller's registered place and error boxes.
// The program uses the system's; tests put their own in place.
#include "installer/state/InstallerState.h"

#include <cstdint>
#include <functional>
#include <string>

struct UninstallServices {
    // Starts program with commandLine in folder and waits for it, dispatching window messages
    // meanwhile; its exit code, or -1 when it could not be started.
    std::function<std::int64_t(const std::string& program, const std::string& commandLine, const std::string& folder)>
        runAndWait;
    // Forgets a delete of path scheduled for the next restart.
    std::function<void(const std::string& path)> cancelDeleteOnReboot;
    // Removes folder when it is empty.
    std::function<bool(const std::string& folder)> removeEmptyFolder;
    // Makes a folder current that no installation uses, so that none is held open.
    std::function<void()> leaveInstalledFolders;
    // Where the product's installed uninstaller is: the registered path when that file exists,
    // else the uninstaller path.
    std::function<std::string()> findUninstaller;
    std::function<void(OpaqueHandle owner, const char* text)> showError;
    // Empty when the file at path opens for reading and writing; else the system's reason.
    std::function<std::string(const std::string& path)> whyNotWritable;
};

UninstallServices& uninstallServices();
// The system's own services (the stand-ins natively).
UninstallServices systemUninstallServices();
