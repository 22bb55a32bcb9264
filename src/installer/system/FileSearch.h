#pragma once
// Depth-first search for a file by name (letter case ignored) below a folder, in the order the
// system lists the entries: a sub-folder is searched before the entries listed after it.
// Folders whose names begin with "." are not entered, nor are reparse points (junctions,
// symbolic links: they may lead back up the tree), and the search goes no deeper than
// kMaxFileSearchDepth folders. Pending window messages are dispatched after each folder.
#include "installer/text/ByteString.h"

#include <functional>
#include <string>
#include <vector>

constexpr int kMaxFileSearchDepth = 64;

struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isReparsePoint = false;
};

// Lists folder + "*.*"; false when the folder cannot be listed.
using FolderLister = std::function<bool(const std::string& folder, std::vector<FolderEntry>& entries)>;

struct FileSearchSystem {
    FolderLister listFolder;
    std::function<void()> dispatchMessages; // may be empty
};

// 1 found (out = the folder, with its trailing backslash), 0 not found, -1 null arguments,
// -3 the folder cannot be listed.
int findFileWith(const FileSearchSystem& system, const char* folder, const char* name, ByteString* out);

// The same over the real file system and the installer's message queue (Windows).
int findFile(const char* folder, const char* name, int ignored, ByteString* out);
// Searches the root of every fixed drive in turn. out is cleared first; -1 null arguments, -2 no
// drive roots, -4 they cannot be listed; otherwise the result of the last search.
int findFileOnFixedDrives(const char* name, int ignored, ByteString* out);
