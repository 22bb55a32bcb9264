#pragma once
// What the installer checks before its first page: the installed product's autorun command,
// one installer per product, an installed earlier version (removed first, or the version an
// update package needs), write access to every registry key the package touches, and the
// user's confirmation. Each returns whether start-up goes on, unless it says otherwise.
#include "installer/install/win/StartupQuestions.h"
#include "installer/text/ByteString.h"

// True when the product's autorun command was started (the installer then exits).
bool runAutorunCommand();
// True when another installer of the product is running; its window comes to the front. The
// mutex that marks this one is held until the process ends.
bool ensureSingleInstance();
// False when the installer must exit.
bool checkPreviousInstallation();
// Removes the installed product with its uninstaller (the installed one when path is null or
// empty); false when the installer must exit.
bool uninstallPrevious(bool quiet, const char* uninstallerPath);
// Moves an uninstaller found for the product aside to "<path>.bak", remembered for the rollback.
void backupOldUninstaller();
// Update packages: false when the installed version may not be updated.
bool checkUpdateBase();
bool versionInRange(const char* installed);
bool versionInList(const char* installed);
// False when the user declines.
bool confirmStart();
// The installed product's uninstaller: the product key's "Uninstaller" value when it names an
// existing file, else where this package places its uninstaller.
ByteString installedUninstallerPath();
