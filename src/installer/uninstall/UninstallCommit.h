#pragma once
// The end of an installation for its uninstaller: the commit of the uninstall data into the
// uninstaller program (or the merge into an installed one), and the rollback of an installation
// left early.
//
// The installed uninstaller is the program's bytes, the scrambled uninstall data, then the
// little-endian 32-bit size the file had before the data was appended (where the data begins).
#include "installer/state/InstallerState.h"

// True when done; false (after an error box owned by owner) when the new uninstaller could not
// be written. Packages without an uninstaller write nothing.
bool commitUninstallData(OpaqueHandle owner);

// Undoes what the installation did so far: directly for packages without an uninstaller and
// for updates, otherwise through the uninstaller run silently. Puts back the files the run
// replaced and the earlier uninstaller an update set aside. Returns 1; failures are ignored.
int rollbackOnExit();

// The command line the uninstaller is started with for a rollback.
ByteString silentUninstallerCommandLine(const char* path);
