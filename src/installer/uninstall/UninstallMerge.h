#pragma once
// Adds what this run logged to the uninstall data an installed uninstaller already holds.
// Nothing read from the file is trusted: data that does not hold together is refused whole and
// the file stays as it was.
#include "installer/text/ByteString.h"

#include <string>

enum class MergeOutcome {
    // The new entries were added.
    Merged,
    // Data of an older layout that is kept as it is.
    KeptAsItWas,
    // The data is damaged or foreign; nothing was changed.
    Damaged,
};

// Merges the log into plain (the unscrambled data: optional header, then the body). On
// Damaged and KeptAsItWas plain, the log and the registry trees are left as they were.
MergeOutcome mergeIntoPlainData(ByteString& plain);

// Merges the log into the data of the installed uninstaller (uninstallerPath). With
// fileData the whole file's bytes, returns the new file's bytes in fileData.
MergeOutcome mergeIntoUninstallerBytes(ByteString& fileData);

// The merge into the installed uninstaller's file: returns 1 when merged, or when there is no
// file or its data is damaged (left alone and reported in an error box); 0 when the file cannot
// be written (reported with the system's reason; the log then keeps this run's entries).
int mergeUninstallData();

// The text shown when the installed uninstaller cannot be written, with the system's reason.
ByteString unwritableUninstallerText(const char* path, const std::string& reason);

// The text shown when the installed uninstaller's data cannot be merged.
ByteString damagedUninstallDataText(const char* path);
