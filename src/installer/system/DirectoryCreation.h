#pragma once
// Creates every missing folder of an absolute path ("X:\..." or "\\server\share\...", parts
// separated by either slash) and records each folder it creates, by its full path as the system
// reports it, in the uninstall log's directory list. Relative paths and server-only network
// paths fail. Unless quiet, a failure shows an error box naming the folder. The process's
// current directory is the same afterwards.
bool createDirectories(const char* path, bool quiet);

// Where created folders are recorded (the uninstall log sets it); null records nowhere.
using CreatedFolderLog = void (*)(const char* fullPath);
CreatedFolderLog setCreatedFolderLog(CreatedFolderLog log);
void recordCreatedFolder(const char* fullPath);

// The error box text for a folder that could not be created.
const char* const kCouldNotCreateFolderFormat = "Couldn't create directory '%s'.";
const char* const kAccessDeniedAdvice = " Error: Access denied; You may not have required privileges for installing this software. Please have your system administrator (or other user with higher privileges) install this software.";
