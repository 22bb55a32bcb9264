#pragma once
// Where the uninstaller is placed: the package's uninstaller name template with the built-in
// names, the folder names and the user variables expanded, whole however long it is.
#include "installer/text/ByteString.h"

#include <cstdint>

// The longest uninstaller path the installer and its uninstaller keep (a 260-byte buffer).
constexpr std::uint32_t kUninstallerPathLimit = 259;

ByteString uninstallerPath();
// True while uninstallerPath runs: a name of the uninstaller met inside its own template (or
// inside a variable the template names) is left as it is instead of recursing without end.
bool computingUninstallerPath();
