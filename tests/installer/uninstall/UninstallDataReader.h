#pragma once
// The tests read the installer's uninstall data with the uninstaller's own reader, which shares
// no code with the installer.
#include "uninstaller/UninstallDataReader.h"
