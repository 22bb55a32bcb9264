#pragma once
// The file phase of the installation: walks the packed-file records in stored order, decides for
// each whether it belongs to this installation and whether it replaces an existing file, and
// puts it in place (decompressed, copied raw, or copied from a file beside the package), with
// its attributes and times; records what the uninstaller must know.
//
// A file is in place only when its whole member was written: a member that fails leaves no
// partial file, the old file (moved aside while it is replaced) comes back, the uninstall log
// does not list it, and the run's failed files name it.
#include "installer/package/FileRecord.h"

#include <cstdint>
#include <string>

// False when the installation must stop (a folder that cannot be made or written, a damaged
// record, a missing beside-file the user will not skip).
bool installFiles();

// Whether the record belongs to the installation type and components chosen.
bool recordSelected(const FileRecord& record);

// Undoes the file being written when the installer ends in the middle of it: the partial file
// is deleted and the old one moved back. Nothing when no file is being written.
void abandonFileInProgress();

// The progress of the file phase: bytes written, skipped or copied.
void advanceFileProgress(std::uint64_t bytes);

// The text of the error box for a folder that cannot receive files.
std::string noWritePrivilegeText(const std::string& folder);

// Copies path into the folder "Backup" below the installation folder (a name used before in this
// run gets ".1", ".2", ...) and records the backup line with the given version and write time.
// Nothing is recorded when the copy fails.
void backUpFile(const std::string& path, std::uint32_t versionHigh, std::uint32_t versionLow, std::uint64_t lastWriteTime);
