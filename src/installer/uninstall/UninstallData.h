#pragma once
// The uninstall data: what the uninstaller needs to undo this installation, serialised from the
// uninstall log and the registry trees, and stored scrambled twice.
//
// Plain layout: an optional header (UninstallHeader.h), then the body: product name, NUL,
// "103" ("103a" with the 64-bit registry view), NUL, settings, NUL, CR LF; the "Shared:",
// "Backups:", "Files:" and "Directories:" sections, each a heading and its lines ending in
// CR LF; then "Registry:" CR LF and the four root trees (RegistryTrees.h).
#include "installer/text/ByteString.h"

// The uninstall settings string with the built-in names, user variables and folder names
// expanded.
ByteString expandedUninstallSettings();

// The body; empties the log's lists and backup text and consumes the registry trees.
ByteString buildUninstallBody();

// The header and body scrambled twice into out; returns 1.
int buildUninstallData(ByteString& out);
