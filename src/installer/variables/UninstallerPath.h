#pragma once
// Where the uninstaller is placed: the package's uninstaller name template with the built-in
// names, the folder names and the user variables expanded, at most 259 bytes.
#include "installer/text/ByteString.h"

ByteString uninstallerPath();
// True while uninstallerPath runs: a name of the uninstaller met inside its own template (or
// inside a variable the template names) is left as it is instead of recursing without end.
bool computingUninstallerPath();
