#pragma once
// Folders and files the system names, in UTF-8 (empty when the system gives none).
#include "installer/text/ByteString.h"

// The temporary folder, with the system's trailing backslash.
ByteString tempFolderPath();
ByteString currentFolderPath();
ByteString systemFolderPath();
// The running program's file (the module the process started from).
ByteString moduleFilePath();
