#pragma once
// The changes an installation makes besides its files: registry trees, INI entries, text files,
// shortcuts, library registration, shared-library counts and renames at restart. Each works on
// the entry lists of gPackageToc, skips entries whose condition fails, reports progress and logs
// what the uninstaller must undo in gUninstallLog. The registry, INI, shortcut, registration,
// shared-count and rename services exist on Windows only.
#include "installer/state/InstallerState.h"

#include <cstdint>
#include <vector>

// Writes the four root trees in order with one error and one done counter; the values' and
// keys' result flags tell what was done. False when any value or key failed.
bool writeRegistryTrees();

// Always 1.
std::uint8_t writeIniEntries();
std::uint8_t editTextFiles();

// 1 when no shortcut failed (a shortcut whose target is missing is skipped, not a failure).
std::uint8_t createShortcuts();

// Registers the queued libraries, type libraries and programs, then empties the queue; failures
// are listed in one error box.
void registerFiles(std::vector<QueuedRegistration>& queue);

// Raises the system's count of users of a shared library and logs it ("|ctrl" when the library
// is also registered).
void incrementSharedDll(const char* path, bool registered);
// incrementSharedDll for each shared library the run installed.
void countSharedLibraries();

// Hands the rename list of gPackageToc to the system for the next restart and empties it.
void applyPendingRenames();

// An empty file where the uninstaller will be, so that shortcuts to it find their target.
void makeUninstallerPlaceholder();
void removeUninstallerPlaceholder();
