#pragma once
// Undoes what an installation recorded in its uninstall data, in order:
//   Shared:      each line "path" or "path|ctrl": the library's count under SharedDLLs goes down
//                by one; at zero the value goes, a "|ctrl" library is unregistered through its
//                DllUnregisterServer, and the file is deleted.
//   Files:       each file is deleted (read-only cleared first): program files, shortcuts, and
//                the INI and text files the installation created.
//   Backups:     "backup TAB path TAB ...": the backup is copied back over the path and deleted.
//   Directories: each folder, in the stored order (newest first), is removed when empty.
//   Registry:    the trees of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and
//                HKEY_USERS ("103a" selects the 64-bit view). A value with flag bit 0 was written
//                by the installation and is deleted; a key with bit 0 was created by it (or is to
//                go) and is deleted after its children when it is left empty, with bit 3 as well
//                it is deleted with all it holds; a key without bit 0 stays, only its children
//                are undone.
// Something already gone counts as undone; a folder that still holds files the installation did
// not put there stays and is no failure.
#include "uninstaller/UninstallDataReader.h"

#include <string>
#include <vector>

struct UndoOutcome {
    int filesRemoved = 0;
    int foldersRemoved = 0;
    int registryEntriesRemoved = 0;
    int backupsRestored = 0;
    // What was to be undone and is still there, by path ("HKEY_...\key" or "key|value" for the
    // registry).
    std::vector<std::string> notUndone;

    bool complete() const { return notUndone.empty(); }
};

UndoOutcome undoUninstallData(const uninstall_reader::Data& data);
